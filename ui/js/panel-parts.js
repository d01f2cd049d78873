// Pieces both tabs use: filling a field from a native chooser, state badges
// and the wording of confirmations.

import { h } from './dom.js';
import { richParagraph, textWithCode } from './dialog.js';

// Runs a chooser command and puts what it returns (reply data member `member`)
// into the form field. A cancelled chooser is no failure: folder choosers answer
// -1 with no message, the file chooser 200 with an empty name.
export async function chooseInto({ run, t, form, func, member, field, what }) {
  const result = await run(func, {}, {
    describe: (r) => (r.data?.[member] ? undefined : {
      tone: 'info',
      lines: [t(what === 'file' ? 'notice.cancelledFile' : 'notice.cancelledFolder')],
    }),
  });
  const value = typeof result.data?.[member] === 'string' ? result.data[member] : '';
  if (value) form.setValue(field, value);
  return value;
}

export function stateBadge(kind, rawState, extra) {
  return h('span', { class: 'state-cell' },
    h('span', { class: `badge badge-${kind}`, t: `state.${kind}`, title: rawState || null }),
    extra ?? null);
}

// The paragraphs of a confirmation: the question with its paths as code, then
// the notes (plain text keys with their arguments), then "cannot be undone".
export function confirmParagraphs(t, { key, args, code = [], notes = [], irreversible = true }) {
  return [
    richParagraph(textWithCode(t, key, args, code), 'dialog-question'),
    ...notes.filter(Boolean).map(([noteKey, noteArgs]) => h('p', { class: 'dialog-note', text: t(noteKey, noteArgs) })),
    irreversible ? h('p', { class: 'dialog-note dialog-warning', text: t('dlg.irreversible') }) : null,
  ].filter(Boolean);
}

// Unsaved settings before an action that uses them: offer to save them first.
// True once they are saved; false when the user cancels or the save fails.
export async function askToSaveFirst({ dialogs, t, form, save }) {
  const choice = await dialogs.openDialog({
    tone: 'info',
    title: t('dlg.dirty.title'),
    paragraphs: [t('dlg.dirty.body')],
    buttons: [{ value: 'cancel', label: t('dlg.cancel') }, { value: 'save', label: t('dlg.dirty.save'), kind: 'primary' }],
    focus: 'save',
  });
  return choice === 'save' && form.validate() && save(form.values());
}

// At start: a tab's list is read once its settings name a storage folder;
// until then the table says what to set up instead of showing a failure.
export function refreshWhenSetUp({ form, card, refresh }) {
  if (!form.saved()?.StoragePath) {
    card.setStatus('setup');
    return Promise.resolve(false);
  }
  return refresh({ quiet: true });
}
