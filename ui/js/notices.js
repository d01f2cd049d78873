// How replies reach the user: a short notice (toast) per reply, failures in red
// and kept longer; the status bar, which says while a command runs that the
// page waits and for which command; and a log of the recent notices.

import { h, clear, applyTexts } from './dom.js';
import { icon } from './icons.js';
import { KNOWN_MESSAGES } from './texts.js';

const TOAST_MS = { success: 3500, info: 4500, error: 9000 };
const MAX_TOASTS = 4;
const LOG_SIZE = 60;

export function createNotices({ toastHost, busyHost, lastButton, logHost, i18n }) {
  const { t } = i18n;
  const log = [];
  let busyTimer = null;
  let busyEntries = [];

  // A notice: { tone: 'success'|'error'|'info', title, lines: [text], raw (the reply's msg) }
  function show(notice, { toast = true } = {}) {
    const entry = { ...notice, time: new Date() };
    log.unshift(entry);
    log.length = Math.min(log.length, LOG_SIZE);
    renderLast(entry);
    if (!logHost.hidden) renderLog();
    if (toast) addToast(entry);
  }

  function addToast(entry) {
    const dismiss = h('button', { type: 'button', class: 'toast-close', tAria: 'notice.dismiss', tTitle: 'notice.dismiss' }, icon('close'));
    const toast = h('div', {
      class: `toast toast-${entry.tone}`,
      role: entry.tone === 'error' ? 'alert' : 'status',
    },
    icon(toneIcon(entry.tone), 'toast-icon'),
    h('div', { class: 'toast-body' },
      h('div', { class: 'toast-title', text: entry.title }),
      entry.lines.map((line) => h('div', { class: 'toast-line', text: line })),
      entry.raw ? h('code', { class: 'toast-raw', text: entry.raw }) : null),
    dismiss);
    applyTexts(dismiss, t);
    const remove = () => toast.remove();
    dismiss.addEventListener('click', remove);
    toastHost.append(toast);
    while (toastHost.children.length > MAX_TOASTS) toastHost.firstElementChild.remove();
    setTimeout(remove, TOAST_MS[entry.tone] ?? TOAST_MS.info);
  }

  function renderLast(entry) {
    clear(lastButton);
    lastButton.dataset.tone = entry.tone;
    lastButton.append(icon(toneIcon(entry.tone)), h('span', { class: 'last-text', text: `${entry.title} · ${entry.lines[0] ?? ''}` }),
      h('span', { class: 'last-time', text: clock(entry.time) }));
  }

  function renderLog() {
    clear(logHost);
    logHost.append(h('div', { class: 'log-head', text: t('log.title') }));
    if (log.length === 0) logHost.append(h('div', { class: 'log-empty', text: t('log.empty') }));
    const list = h('ol', { class: 'log-list' });
    for (const entry of log) {
      list.append(h('li', { class: `log-item log-${entry.tone}` },
        icon(toneIcon(entry.tone)),
        h('span', { class: 'log-time', text: clock(entry.time) }),
        h('span', { class: 'log-title', text: entry.title }),
        h('span', { class: 'log-text', text: [...entry.lines, entry.raw].filter(Boolean).join(' · ') })));
    }
    logHost.append(list);
  }

  function toggleLog(open = logHost.hidden) {
    logHost.hidden = !open;
    lastButton.setAttribute('aria-expanded', String(open));
    if (open) renderLog();
  }
  lastButton.setAttribute('aria-expanded', 'false');
  lastButton.addEventListener('click', () => toggleLog());
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && !logHost.hidden) { toggleLog(false); lastButton.focus(); }
  });
  document.addEventListener('mousedown', (event) => {
    if (!logHost.hidden && !logHost.contains(event.target) && !lastButton.contains(event.target)) toggleLog(false);
  });

  // entries: the requests still waiting, oldest first, as the bridge keeps them.
  function setBusy(entries) {
    busyEntries = entries;
    renderBusy();
    if (entries.length > 0 && !busyTimer) busyTimer = setInterval(renderBusy, 1000);
    if (entries.length === 0 && busyTimer) { clearInterval(busyTimer); busyTimer = null; }
  }

  function renderBusy() {
    clear(busyHost);
    const busy = busyEntries.length > 0;
    busyHost.dataset.busy = String(busy);
    if (!busy) {
      busyHost.append(h('span', { class: 'ready-dot', 'aria-hidden': 'true' }), h('span', { text: t('busy.ready') }));
      return;
    }
    const first = busyEntries[0];
    const seconds = Math.floor((Date.now() - first.startedAt) / 1000);
    busyHost.append(
      h('span', { class: 'spinner', 'aria-hidden': 'true' }),
      h('span', { class: 'busy-label', text: t('busy.waiting', { label: t(first.meta?.labelKey ?? `cmd.${first.func}`, first.meta?.labelArgs) }) }),
      h('code', { class: 'busy-func', text: first.func }),
      h('span', { class: 'busy-time', text: t('busy.seconds', { seconds }) }));
    if (busyEntries.length > 1) busyHost.append(h('span', { class: 'busy-more', text: t('busy.more', { count: busyEntries.length - 1 }) }));
  }

  i18n.onChange(() => { renderBusy(); if (!logHost.hidden) renderLog(); });
  renderBusy();

  return { show, setBusy };
}

// The notice for one reply. opts.label is the text of what was asked for;
// opts.tone(result) may give another tone (a cancelled chooser is no failure).
export function noticeFor(result, label, t, tone) {
  const lines = [];
  let raw = '';
  if (result.error === 'timeout') lines.push(t('notice.timeout', { func: result.func, seconds: Math.round(result.timeoutMs / 1000) }));
  else if (result.error === 'unavailable') lines.push(t('notice.unavailable'));
  else if (result.error === 'bad-reply') lines.push(t('notice.badReply'));
  else if (result.msg) {
    const known = KNOWN_MESSAGES[result.msg];
    lines.push(known ? t(known) : result.msg);
    if (known) raw = result.msg;
  } else {
    lines.push(t('notice.noMessage', { code: result.code }));
  }
  return { tone: tone ?? (result.ok ? 'success' : 'error'), title: label, lines, raw, func: result.func };
}

function toneIcon(tone) {
  return tone === 'success' ? 'check' : tone === 'error' ? 'alert' : 'info';
}

function clock(date) {
  return date.toTimeString().slice(0, 8);
}
