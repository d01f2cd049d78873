// Modal dialogs drawn by the page (the window has no native ones to offer for
// confirmations). openDialog resolves with the value of the button chosen, or
// null when the dialog is dismissed (Escape). Keyboard: Tab stays inside the
// dialog, Escape cancels, focus returns to where it was.

import { h } from './dom.js';
import { icon } from './icons.js';

export function createDialogs({ layer, i18n }) {
  const { t } = i18n;

  // The dialog: { tone: 'danger'|'info', title, paragraphs: [Node|string],
  //   buttons: [{ value, label, kind: 'danger'|'primary'|'plain' }], focus: value }
  function openDialog({ tone = 'info', title, paragraphs = [], buttons, focus }) {
    const previous = document.activeElement;
    return new Promise((resolve) => {
      const titleId = `dialog-title-${Date.now()}`;
      const bodyId = `${titleId}-body`;
      const buttonEls = buttons.map((button) => h('button', {
        type: 'button',
        class: `btn btn-${button.kind ?? 'plain'}`,
        dataset: { value: button.value },
        text: button.label,
        on: { click: () => close(button.value) },
      }));
      const dialog = h('div', {
        class: `dialog dialog-${tone}`,
        role: tone === 'danger' ? 'alertdialog' : 'dialog',
        'aria-modal': 'true',
        'aria-labelledby': titleId,
        'aria-describedby': bodyId,
      },
      h('div', { class: 'dialog-head' },
        icon(tone === 'danger' ? 'alert' : 'info', 'dialog-icon'),
        h('h2', { class: 'dialog-title', id: titleId, text: title })),
      h('div', { class: 'dialog-body', id: bodyId }, paragraphs.map((p) => (p instanceof Node ? p : h('p', { text: p })))),
      h('div', { class: 'dialog-buttons' }, buttonEls));
      const backdrop = h('div', { class: 'dialog-backdrop' }, dialog);

      function onKey(event) {
        if (event.key === 'Escape') { event.preventDefault(); event.stopPropagation(); close(null); return; }
        if (event.key !== 'Tab') return;
        const focusable = [...dialog.querySelectorAll('button, a[href], input, select')].filter((el) => !el.disabled);
        const first = focusable[0];
        const last = focusable[focusable.length - 1];
        if (event.shiftKey && document.activeElement === first) { event.preventDefault(); last.focus(); }
        else if (!event.shiftKey && document.activeElement === last) { event.preventDefault(); first.focus(); }
      }
      function close(value) {
        document.removeEventListener('keydown', onKey, true);
        backdrop.remove();
        if (previous instanceof HTMLElement && previous.isConnected) previous.focus();
        resolve(value);
      }

      document.addEventListener('keydown', onKey, true);
      layer.append(backdrop);
      const initial = buttonEls[buttons.findIndex((b) => b.value === focus)] ?? buttonEls[0];
      initial.focus();
    });
  }

  // A yes/no question; a danger confirmation starts with the focus on Cancel.
  async function confirm({ tone = 'danger', title, paragraphs, confirmLabel }) {
    const value = await openDialog({
      tone,
      title,
      paragraphs,
      buttons: [
        { value: 'cancel', label: t('dlg.cancel'), kind: 'plain' },
        { value: 'confirm', label: confirmLabel, kind: tone === 'danger' ? 'danger' : 'primary' },
      ],
      focus: tone === 'danger' ? 'cancel' : 'confirm',
    });
    return value === 'confirm';
  }

  return { openDialog, confirm };
}

// A paragraph with text and inline code pieces: parts are strings, or
// { code: text } for a path or a name shown in a monospace font.
export function richParagraph(parts, className) {
  return h('p', { class: className }, parts.map((part) => (typeof part === 'string' ? part : h('code', { text: part.code }))));
}

// A translated text whose arguments named in codeNames are shown as code
// (paths, machine names): the text is translated with those left open, then
// cut at them.
export function textWithCode(t, key, args, codeNames) {
  const plainArgs = Object.fromEntries(Object.entries(args).filter(([name]) => !codeNames.includes(name)));
  const template = t(key, plainArgs);
  return template.split(/(\{\w+\})/).filter(Boolean).map((piece) => {
    const name = piece.match(/^\{(\w+)\}$/)?.[1];
    return name && codeNames.includes(name) ? { code: String(args[name]) } : piece;
  });
}
