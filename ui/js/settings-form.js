// A settings form built from a list of field descriptions, shared by the VMware
// and VirtualBox tabs. It keeps the last saved values to show whether the form
// holds unsaved changes.
//
// Field: { name, kind: 'text' | 'number' | 'choice' | 'select' | 'hidden',
//          label, hint (text keys), mono, half, required, min, max,
//          options: [{ value, label }] (choice, select),
//          button: { icon, label, onClick } (a chooser or reload button beside the input) }

import { h, bindText } from './dom.js';
import { icon } from './icons.js';

export function createSettingsForm({ idPrefix, titleKey, fields, i18n, onSubmit }) {
  const { t } = i18n;
  const controls = new Map();   // name -> { field, read(), write(value), input, error }
  let saved = null;

  const status = h('span', { class: 'save-state', 'aria-live': 'polite' });
  const saveButton = h('button', { type: 'submit', class: 'btn btn-primary', dataset: { work: '' } },
    icon('save'), h('span', { t: 'settings.save' }));
  const grid = h('div', { class: 'form-grid' });
  const form = h('form', { class: 'settings-form', novalidate: true, id: `${idPrefix}-settings` },
    h('div', { class: 'card-head' }, h('h2', { class: 'card-title', t: titleKey }), status),
    grid,
    h('div', { class: 'form-foot' }, saveButton));

  for (const field of fields) {
    const control = buildControl(field);
    controls.set(field.name, control);
    if (control.element) grid.append(control.element);
  }

  form.addEventListener('submit', (event) => {
    event.preventDefault();
    if (saveButton.getAttribute('aria-disabled') === 'true') return;
    if (validate()) onSubmit(values());
  });
  form.addEventListener('input', () => { clearErrorsOnEdit(); refreshStatus(); });
  form.addEventListener('change', refreshStatus);

  function buildControl(field) {
    const id = `${idPrefix}-${field.name}`;
    if (field.kind === 'hidden') {
      let value = field.initial ?? '';
      return { field, read: () => value, write: (v) => { value = v ?? ''; } };
    }
    const hintId = `${id}-hint`;
    const errorId = `${id}-error`;
    const error = h('div', { class: 'field-error', id: errorId, hidden: true });
    const hint = field.hint ? h('div', { class: 'field-hint', id: hintId, t: field.hint }) : null;
    const describedBy = [field.hint ? hintId : null, errorId].filter(Boolean).join(' ');
    let input;
    let read;
    let write;

    if (field.kind === 'choice') {
      input = h('div', { class: 'segmented', role: 'radiogroup', 'aria-labelledby': `${id}-label`, id });
      const renderOptions = (options) => {
        input.replaceChildren(...options.map((option, index) => h('label', { class: 'segment' },
          h('input', { type: 'radio', name: id, value: option.value, id: `${id}-${index}` }),
          h('span', { t: option.label, tArgs: option.labelArgs }))));
        bindLabels(input);
      };
      renderOptions(field.options);
      read = () => input.querySelector('input:checked')?.value ?? '';
      write = (value) => {
        const text = value ?? '';
        if (!field.options.some((o) => o.value === text)) renderOptions([...field.options, { value: text, label: 'type.other', labelArgs: { value: text } }]);
        else if (input.querySelectorAll('input').length !== field.options.length) renderOptions(field.options);
        for (const radio of input.querySelectorAll('input')) radio.checked = radio.value === text;
      };
    } else if (field.kind === 'select') {
      input = h('select', { id, class: 'input', 'aria-describedby': describedBy });
      let options = [];
      const render = (selected) => {
        const list = [...options];
        if (selected && !list.some((o) => o.value === selected)) list.unshift({ value: selected, text: selected });
        input.replaceChildren(
          h('option', { value: '', t: field.emptyLabel }),
          ...list.map((o) => h('option', { value: o.value, text: o.text })));
        bindLabels(input);
        input.value = selected ?? '';
      };
      read = () => input.value;
      write = (value) => render(value ?? '');
      input.setOptions = (next) => { const current = input.value; options = next; render(current); };
      render('');
    } else {
      input = h('input', {
        id,
        class: `input${field.mono ? ' mono' : ''}`,
        type: field.kind === 'number' ? 'number' : 'text',
        inputmode: field.kind === 'number' ? 'numeric' : null,
        min: field.min, max: field.max, step: field.kind === 'number' ? 1 : null,
        spellcheck: 'false', autocomplete: 'off',
        'aria-describedby': describedBy,
        tPlaceholder: field.placeholder,
      });
      read = () => (field.kind === 'number' ? input.value.trim() : input.value);
      write = (value) => { input.value = value ?? ''; };
    }

    const button = field.button ? h('button', {
      type: 'button', class: 'btn btn-icon', tTitle: field.button.label, tAria: field.button.label,
      dataset: { work: '' }, id: `${id}-button`,
      on: { click: () => { if (button.getAttribute('aria-disabled') !== 'true') field.button.onClick(); } },
    }, icon(field.button.icon)) : null;

    const labelProps = field.kind === 'choice' ? { class: 'field-label', id: `${id}-label`, t: field.label } : { class: 'field-label', for: id, id: `${id}-label`, t: field.label };
    const element = h('div', { class: `field${field.half ? ' half' : ''}` },
      h(field.kind === 'choice' ? 'span' : 'label', labelProps),
      h('div', { class: 'field-control' }, input, button),
      hint, error);
    return { field, read, write, input, error, element };
  }

  function bindLabels(root) {
    for (const el of root.querySelectorAll('[data-t]')) bindText(el, 't', el.getAttribute('data-t'), readArgs(el), t);
  }

  function readArgs(el) {
    try { return JSON.parse(el.getAttribute('data-t-args') ?? 'null') ?? undefined; } catch { return undefined; }
  }

  // The form's values, numbers as numbers (NaN when the text is not one).
  function values() {
    const result = {};
    for (const [name, control] of controls) {
      const raw = control.read();
      result[name] = control.field.kind === 'number' ? (raw === '' ? NaN : Number(raw)) : raw;
    }
    return result;
  }

  function setValues(next) {
    for (const [name, control] of controls) if (name in next) control.write(next[name]);
    refreshStatus();
  }

  function validate() {
    let firstBad = null;
    for (const control of controls.values()) {
      const { field } = control;
      if (!control.error) continue;
      const raw = control.read();
      let message = null;
      if (field.kind === 'number') {
        const n = Number(raw);
        if (raw === '' || !Number.isInteger(n) || n < field.min || n > field.max) message = ['error.range', { min: field.min, max: field.max }];
      } else if (field.required && String(raw).trim() === '') {
        message = ['error.required'];
      }
      showError(control, message);
      if (message && !firstBad) firstBad = control;
    }
    firstBad?.input.focus();
    return !firstBad;
  }

  function showError(control, message) {
    control.error.hidden = !message;
    control.input.toggleAttribute('aria-invalid', Boolean(message));
    if (message) bindText(control.error, 't', message[0], message[1], t);
  }

  function clearErrorsOnEdit() {
    for (const control of controls.values()) {
      if (control.error && !control.error.hidden && control.input.contains(document.activeElement)) showError(control, null);
    }
  }

  function isDirty() {
    if (!saved) return true;
    const now = values();
    return Object.keys(now).some((name) => String(now[name]) !== String(saved[name] ?? ''));
  }

  function refreshStatus() {
    const key = !saved ? 'settings.notSaved' : isDirty() ? 'settings.dirty' : 'settings.saved';
    status.dataset.state = !saved ? 'new' : isDirty() ? 'dirty' : 'saved';
    bindText(status, 't', key, null, t);
  }

  // Records the values as those now saved (null: nothing saved yet).
  function setSaved(next) {
    saved = next ? { ...next } : null;
    refreshStatus();
  }

  refreshStatus();

  return {
    element: form,
    values,
    setValues,
    setSaved,
    saved: () => (saved ? { ...saved } : null),
    isDirty,
    validate,
    setValue(name, value) { controls.get(name).write(value); refreshStatus(); },
    setSelectOptions(name, options) { controls.get(name).input.setOptions(options); refreshStatus(); },
    submit() { form.requestSubmit(); },
  };
}
