// Puts the page together and starts it: places and shows the window, sends
// "getversions" with the default settings, loads both tabs' settings and lists.

import { createBridge } from './bridge.js';
import { timeoutFor, isPlumbing } from './commands.js';
import { createI18n, DEFAULT_LANGUAGE } from './texts.js';
import { h, applyTexts, bindText } from './dom.js';
import { icon } from './icons.js';
import { createNotices } from './notices.js';
import { createDialogs } from './dialog.js';
import { createRunner } from './runner.js';
import { setUpTabs } from './tabs.js';
import { setUpWindowControls, placeWindow } from './window.js';
import { createVmwarePanel, VMWARE_DEFAULTS } from './vmware.js';
import { createVboxPanel, VBOX_DEFAULTS } from './vbox.js';

const LANGUAGE_KEY = 'tarnwick.language';
const DOC_LINKS = [
  { label: 'link.vmware', url: 'https://docs.vmware.com/en/VMware-Workstation-Pro/index.html' },
  { label: 'link.vbox', url: 'https://www.virtualbox.org/manual/' },
];

const $ = (id) => document.getElementById(id);

function storedLanguage() {
  try { return localStorage.getItem(LANGUAGE_KEY) ?? DEFAULT_LANGUAGE; } catch { return DEFAULT_LANGUAGE; }
}

function storeLanguage(language) {
  try { localStorage.setItem(LANGUAGE_KEY, language); } catch { /* no storage: the choice lasts this run */ }
}

const i18n = createI18n(storedLanguage());
const { t } = i18n;
const bridge = createBridge({ timeoutFor });
const notices = createNotices({ toastHost: $('toasts'), busyHost: $('busy-status'), lastButton: $('last-notice'), logHost: $('notice-log'), i18n });
const dialogs = createDialogs({ layer: $('dialog-layer'), i18n });
const run = createRunner({ bridge, notices, i18n });
let version = '';

// Busy: while a command (other than window plumbing) waits for its reply, the
// controls that send commands stay focusable but unavailable (aria-disabled),
// and the status bar names the command.
let busy = false;
function markWorkControls(root) {
  for (const el of root.querySelectorAll('[data-work]')) el.setAttribute('aria-disabled', String(busy));
}
bridge.onChange((entries) => {
  const work = entries.filter((entry) => !isPlumbing(entry.func));
  notices.setBusy(work);
  busy = work.length > 0;
  $('frame').classList.toggle('is-busy', busy);
  $('main').setAttribute('aria-busy', String(busy));
  markWorkControls(document.body);
});
new MutationObserver((changes) => {
  if (!busy) return;
  for (const change of changes) for (const node of change.addedNodes) if (node instanceof Element) markWorkControls(node);
}).observe($('main'), { childList: true, subtree: true });

const vmware = createVmwarePanel({ run, i18n, dialogs });
const vbox = createVboxPanel({ run, i18n, dialogs });
$('panel-vmware').append(vmware.element);
$('panel-vbox').append(vbox.element);
const panels = [vmware, vbox];

const tabs = setUpTabs({ tablist: $('tabs') });
setUpWindowControls({
  titlebar: $('titlebar'),
  minimizeButton: $('btn-minimize'),
  trayButton: $('btn-tray'),
  quitButton: $('btn-quit'),
  run,
  dialogs,
  i18n,
});

$('btn-minimize').append(icon('minimize'));
$('btn-tray').append(icon('tray'));
$('btn-quit').append(icon('close'));
$('btn-help').append(icon('help'));

$('btn-lang').addEventListener('click', () => i18n.setLanguage(i18n.language === 'en' ? 'zh-CN' : 'en'));
i18n.onChange((language) => {
  document.documentElement.lang = language;
  applyTexts(document.body, t);
  storeLanguage(language);
});

$('btn-help').addEventListener('click', showAbout);

function showAbout() {
  const links = DOC_LINKS.map((link) => h('li', {}, h('button', {
    type: 'button', class: 'link-btn', on: { click: () => openUrl(link.url) },
  }, icon('link'), h('span', { text: t(link.label) }), h('span', { class: 'link-url', text: link.url }))));
  dialogs.openDialog({
    tone: 'info',
    title: t('about.title'),
    paragraphs: [
      t('about.body'),
      t('about.version', { version: version || t('version.unknown') }),
      h('p', { class: 'dialog-note', text: t('about.keys') }),
      h('p', { class: 'dialog-subhead', text: t('about.docs') }),
      h('ul', { class: 'link-list' }, links),
    ],
    buttons: [{ value: 'close', label: t('dlg.close'), kind: 'primary' }],
  });
}

// "openUrl" always answers -1 with no message, whatever the shell did.
function openUrl(url) {
  return run('openUrl', { url }, { describe: () => ({ tone: 'info', lines: [t('notice.openUrl', { url })] }) });
}

document.addEventListener('keydown', (event) => {
  if ($('dialog-layer').childElementCount > 0) return;
  const panel = panels[tabs.selectedIndex()];
  const key = event.key.toLowerCase();
  if (event.key === 'F5' || (event.ctrlKey && key === 'r')) {
    event.preventDefault();  // a reload would lose the page's state
    if (!busy) panel.refresh();
  } else if (event.ctrlKey && key === 's') {
    event.preventDefault();
    if (!busy) panel.save();
  } else if (event.ctrlKey && (key === '1' || key === '2')) {
    event.preventDefault();
    tabs.selectIndex(Number(key) - 1);
  }
});

function showVersion(text) {
  version = text;
  bindText($('version'), 't', 'version.known', { version: text }, t);
}

async function start() {
  await placeWindow(run);
  const versions = await run('getversions', { ...VMWARE_DEFAULTS, ...VBOX_DEFAULTS }, { quiet: true });
  if (versions.ok && typeof versions.data?.VersionNumber === 'string') showVersion(versions.data.VersionNumber);
  const vmwareReady = await vmware.loadSettings();
  const vboxReady = await vbox.loadSettings();
  if (vmwareReady) await vmware.refreshWhenSetUp();
  if (vboxReady) {
    await vbox.loadMasters({ quiet: true });
    await vbox.refreshWhenSetUp();
  }
  // Everything the page asks for at start has been answered (screenshots wait for this).
  document.body.dataset.ready = 'true';
}

document.documentElement.lang = i18n.language;
applyTexts(document.body, t);
start();
