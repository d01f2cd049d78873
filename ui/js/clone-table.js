// The table of clones, shared by both tabs: one row per clone with its id,
// name, path and state badge, and a button per action at the end of the row.
//
// columns: [{ label (text key), className, cell(row) -> Node | string }]
// actions: [{ id, icon, label (text key), tip (text key), danger, onClick(row) }]

import { h, applyTexts, clear } from './dom.js';
import { icon } from './icons.js';

export function createCloneTable({ idPrefix, captionKey, columns, actions, i18n }) {
  const { t } = i18n;
  const body = h('tbody');
  const table = h('table', { class: 'clone-table', id: `${idPrefix}-clones` },
    h('caption', { class: 'sr-only', t: captionKey }),
    h('thead', {}, h('tr', {},
      columns.map((column) => h('th', { scope: 'col', class: column.className, t: column.label })),
      h('th', { scope: 'col', class: 'col-actions', t: 'col.actions' }))));
  table.append(body);
  const scroller = h('div', { class: 'table-scroll' }, table);
  let rows = [];

  function setRows(next) {
    rows = next;
    scroller.classList.remove('is-loading');
    clear(body);
    if (rows.length === 0) { setStatus('empty'); return; }
    for (const row of rows) body.append(renderRow(row));
    applyTexts(body, t);
  }

  function renderRow(row) {
    return h('tr', { dataset: { id: String(row.id) } },
      columns.map((column) => h('td', { class: column.className }, column.cell(row))),
      h('td', { class: 'col-actions' }, h('div', { class: 'row-actions' }, actions.map((action) => h('button', {
        type: 'button',
        class: `icon-btn${action.danger ? ' icon-btn-danger' : ''}`,
        dataset: { action: action.id, work: '' },
        tAria: 'row.action',
        tTitle: action.tip,
        tArgs: { action: `@${action.label}`, name: row.name || `#${row.id}` },
        on: { click: (event) => { if (event.currentTarget.getAttribute('aria-disabled') !== 'true') action.onClick(row); } },
      }, icon(action.icon))))));
  }

  // kind: 'idle' | 'setup' | 'loading' | 'empty' | 'failed'; detail: the reply's message for 'failed'.
  // While loading, rows already shown stay (dimmed) until the new list arrives.
  function setStatus(kind, detail = '') {
    scroller.dataset.status = kind;
    if (kind === 'loading' && rows.length > 0) { scroller.classList.add('is-loading'); return; }
    scroller.classList.remove('is-loading');
    if (kind === 'failed') rows = [];
    clear(body);
    const message = h('div', { class: `table-status table-status-${kind}` },
      kind === 'loading' ? h('span', { class: 'spinner', 'aria-hidden': 'true' }) : icon(kind === 'failed' ? 'alert' : 'info'),
      h('span', { t: `list.${kind}` }),
      detail ? h('code', { text: detail }) : null);
    body.append(h('tr', { class: 'status-row' }, h('td', { colspan: String(columns.length + 1) }, message)));
    applyTexts(body, t);
  }

  return { element: scroller, setRows, setStatus, rows: () => rows };
}
