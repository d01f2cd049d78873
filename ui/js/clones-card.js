// The right-hand card of a tab: heading with the clone count, refresh, the
// "make clones" control, the bar of actions on all clones, and the table.
// The tab module says what each action sends; this only lays them out.

import { h, bindText } from './dom.js';
import { icon } from './icons.js';
import { createCloneTable } from './clone-table.js';

export const MAX_CLONES = 512;

export function createClonesCard({ idPrefix, captionKey, columns, actions, bulkExtras = [], i18n, onRefresh, onClone, onAction }) {
  const { t } = i18n;
  const table = createCloneTable({
    idPrefix, captionKey, columns, i18n,
    actions: actions.map((action) => ({ ...action, onClick: (row) => onAction(action, row) })),
  });

  const summary = h('span', { class: 'card-summary', id: `${idPrefix}-summary` });
  const countInput = h('input', {
    type: 'number', class: 'input count-input', id: `${idPrefix}-clone-count`, min: 1, max: MAX_CLONES, step: 1,
    value: '1', inputmode: 'numeric', tAria: 'clones.countLabel', tTitle: 'clones.countLabel',
  });
  const refreshButton = h('button', {
    type: 'button', class: 'btn', id: `${idPrefix}-refresh`, dataset: { work: '' },
    on: { click: guarded(() => onRefresh()) },
  }, icon('refresh'), h('span', { t: 'clones.refresh' }));
  const cloneButton = h('button', {
    type: 'button', class: 'btn btn-primary', id: `${idPrefix}-clone`, dataset: { work: '' },
    on: { click: guarded(() => startCloning()) },
  }, icon('clone'), h('span', { t: 'clones.make' }));
  countInput.addEventListener('keydown', (event) => { if (event.key === 'Enter') { event.preventDefault(); cloneButton.click(); } });
  countInput.addEventListener('input', () => countInput.removeAttribute('aria-invalid'));

  const scope = h('span', { class: 'bulk-scope', id: `${idPrefix}-scope` });
  const bulkButtons = actions.map((action) => h('button', {
    type: 'button',
    class: `btn btn-small${action.danger ? ' btn-danger-quiet' : ''}`,
    id: `${idPrefix}-all-${action.id}`,
    dataset: { action: action.id, work: '' },
    tTitle: action.tip,
    on: { click: guarded(() => onAction(action, null)) },
  }, icon(action.icon), h('span', { t: action.label })));

  const head = h('div', { class: 'card-head' },
    h('h2', { class: 'card-title', t: 'clones.title' }), summary,
    h('div', { class: 'head-tools' }, refreshButton, h('span', { class: 'tool-sep', 'aria-hidden': 'true' }),
      h('label', { class: 'count-label', for: countInput.id, t: 'field.count' }), countInput, cloneButton));
  const bulk = h('div', { class: 'bulk-bar', role: 'group', 'aria-labelledby': `${idPrefix}-bulk-label` },
    h('span', { class: 'bulk-label', id: `${idPrefix}-bulk-label` }, h('span', { t: 'clones.all' }), scope),
    h('div', { class: 'bulk-buttons' }, bulkButtons),
    bulkExtras);
  const element = h('section', { class: 'card clones-card', 'aria-labelledby': `${idPrefix}-clones-title` }, head, bulk, table.element);
  head.querySelector('h2').id = `${idPrefix}-clones-title`;

  function startCloning() {
    const count = Number(countInput.value);
    if (!Number.isInteger(count) || count < 1 || count > MAX_CLONES) {
      countInput.setAttribute('aria-invalid', 'true');
      countInput.focus();
      return;
    }
    onClone(count);
  }

  function setRows(rows, isRunning) {
    table.setRows(rows);
    bindText(summary, 't', 'clones.summary', { total: rows.length, running: rows.filter(isRunning).length }, t);
  }

  function setStatus(kind, detail) {
    table.setStatus(kind, detail);
    if (kind !== 'loading') { summary.removeAttribute('data-t'); summary.textContent = ''; }
  }

  return {
    element,
    setRows,
    setStatus,
    rows: table.rows,
    setCount(count) { if (Number.isInteger(count) && count > 0) countInput.value = String(Math.min(count, MAX_CLONES)); },
    // A short note of which clones "all" means, with the longer text as its tooltip.
    setScope(key, titleKey, args) {
      if (key) {
        bindText(scope, 't', key, args, t);
        bindText(scope, 'tTitle', titleKey, args, t);
      } else {
        scope.removeAttribute('data-t');
        scope.removeAttribute('data-t-title');
        scope.textContent = '';
      }
    },
  };
}

// A click handler that does nothing while the control is marked unavailable
// (the page keeps busy controls focusable and marks them with aria-disabled).
export function guarded(fn) {
  return (event) => {
    if (event.currentTarget.getAttribute('aria-disabled') === 'true') return;
    fn(event);
  };
}
