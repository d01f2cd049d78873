// The VirtualBox tab: settings (saved with "VboxPreferences", read with
// "ResultVBoxPrefs"), the masters to choose from ("resultseLectlist"), the
// clone list with states ("getStatusVBoxlist"), cloning ("cloneVBox") and the
// power and delete commands on one clone (type 1, id) or on all (type 0).
// Note the program's names: "unpauseVBox" pauses and "repauseVBox" resumes.

import { h } from './dom.js';
import { createSettingsForm } from './settings-form.js';
import { createClonesCard, MAX_CLONES } from './clones-card.js';
import { readPrefs, readVboxList, readSelectableMasters, folderOf, vboxState } from './replies.js';
import { askToSaveFirst, chooseInto, stateBadge, confirmParagraphs, refreshWhenSetUp } from './panel-parts.js';

// Sent with "getversions" at start, together with the VMware defaults (the two
// share the member names NamePrefix, CloneNumber, StoragePath and
// StartIntervalTime, so those hold the same values).
export const VBOX_DEFAULTS = {
  InstallationPath: '',
  MasterName: '',
  StoragePath: '',
  CloneTypy: 'link',
  CloneNumber: 3,
  NamePrefix: 'clone',
  StartIntervalTime: 10,
};

const NO_LIST_MESSAGE = 'no file with vboxBootlist.json!';
const UNREFRESHED_UUID = 'dbug';

const ACTIONS = [
  { id: 'start', icon: 'play', label: 'act.start', tip: 'tip.vbox.start', func: 'startVBox' },
  { id: 'pause', icon: 'pause', label: 'act.pause', tip: 'tip.vbox.pause', func: 'unpauseVBox' },
  { id: 'resume', icon: 'resume', label: 'act.resume', tip: 'tip.vbox.resume', func: 'repauseVBox' },
  { id: 'reset', icon: 'reset', label: 'act.reset', tip: 'tip.vbox.reset', func: 'restVBox' },
  { id: 'poweroff', icon: 'power', label: 'act.poweroff', tip: 'tip.vbox.poweroff', func: 'offVBox' },
  { id: 'delete', icon: 'trash', label: 'act.delete', tip: 'tip.vbox.delete', func: 'delVBox', danger: true },
];

export function vboxSettingsRequest(values) {
  return {
    InstallationPath: values.InstallationPath.trim(),
    MasterName: values.MasterName,
    StoragePath: values.StoragePath.trim(),
    CloneTypy: values.CloneTypy,
    CloneNumber: values.CloneNumber,
    NamePrefix: values.NamePrefix.trim(),
    StartIntervalTime: values.StartIntervalTime,
  };
}

export function createVboxPanel({ run, i18n, dialogs }) {
  const { t } = i18n;

  const form = createSettingsForm({
    idPrefix: 'vb',
    titleKey: 'settings.title',
    i18n,
    onSubmit: (values) => save(values),
    fields: [
      { name: 'InstallationPath', kind: 'text', mono: true, label: 'vbox.field.tool', hint: 'vbox.hint.tool',
        button: { icon: 'folder', label: 'vbox.choose.tool', onClick: () => choose('vbox_shoose_dir', 'InstallationPath', 'InstallationPath') } },
      { name: 'MasterName', kind: 'select', label: 'vbox.field.master', hint: 'vbox.hint.master', emptyLabel: 'vbox.master.none',
        button: { icon: 'refresh', label: 'vbox.master.reload', onClick: () => loadMasters() } },
      // The program has one storage folder chooser; it serves this tab as well.
      { name: 'StoragePath', kind: 'text', mono: true, label: 'vbox.field.storage', hint: 'vbox.hint.storage',
        button: { icon: 'folder', label: 'vbox.choose.storage', onClick: () => choose('Vm_shoose', 'StoragePath', 'StoragePath') } },
      { name: 'CloneTypy', kind: 'choice', label: 'vbox.field.type',
        options: [{ value: 'link', label: 'vbox.type.link' }, { value: '', label: 'vbox.type.full' }] },
      { name: 'NamePrefix', kind: 'text', half: true, label: 'field.prefix' },
      { name: 'CloneNumber', kind: 'number', half: true, label: 'field.count', min: 1, max: MAX_CLONES },
      { name: 'StartIntervalTime', kind: 'number', label: 'field.interval', hint: 'vbox.hint.interval', min: 0, max: 86400 },
    ],
  });
  form.setValues(VBOX_DEFAULTS);

  const card = createClonesCard({
    idPrefix: 'vb',
    captionKey: 'vbox.table.caption',
    i18n,
    actions: ACTIONS,
    columns: [
      { label: 'col.id', className: 'col-id', cell: (row) => String(row.id) },
      { label: 'col.name', className: 'col-name', cell: (row) => [
        h('span', { class: 'name', text: row.name }),
        row.uuid && row.uuid !== UNREFRESHED_UUID ? h('span', { class: 'sub mono', text: row.uuid, title: row.uuid }) : null] },
      { label: 'col.path', className: 'col-path', cell: (row) => h('span', { class: 'path', title: row.path, text: shownPath(row.path) }) },
      { label: 'col.state', className: 'col-state', cell: (row) => {
        const state = vboxState(row.state);
        const since = state.since ? h('span', { class: 'sub', t: 'state.since', tArgs: { time: state.since.replace('T', ' ') } }) : null;
        if (state.kind === 'other') return h('span', { class: 'state-cell' }, h('span', { class: 'badge badge-other', text: state.word, title: row.state }), since);
        return stateBadge(state.kind, row.state, since);
      } },
    ],
    onRefresh: () => refresh(),
    onClone: (count) => makeClones(count),
    onAction: (action, row) => perform(action, row),
  });

  const element = h('div', { class: 'panel-grid' }, h('section', { class: 'card settings-card' }, form.element), card.element);
  card.setStatus('idle');

  function shownPath(path) {
    return path === UNREFRESHED_UUID ? '' : path;
  }

  function choose(func, member, field) {
    return chooseInto({ run, t, form, func, member, field, what: 'folder' });
  }

  async function save(values) {
    const result = await run('VboxPreferences', vboxSettingsRequest(values));
    if (result.ok) {
      form.setSaved(form.values());
      card.setCount(values.CloneNumber);
      // The machines to choose from come from the tool just saved.
      await loadMasters({ quiet: true });
    }
    return result.ok;
  }

  async function loadSettings() {
    const result = await run('ResultVBoxPrefs', {}, { quiet: true, describe: (r) => (r.ok ? undefined : { tone: 'info' }) });
    const prefs = result.ok ? readPrefs(result.data?.RsultBoxPrefs) : null;
    if (!prefs) {
      form.setSaved(null);
      return false;
    }
    form.setValues({
      InstallationPath: prefs.InstallationPath ?? '',
      MasterName: prefs.MasterName ?? '',
      StoragePath: prefs.StoragePath ?? '',
      CloneTypy: prefs.CloneTypy ?? '',
      CloneNumber: prefs.CloneNumber ?? '',
      NamePrefix: prefs.NamePrefix ?? '',
      StartIntervalTime: prefs.StartIntervalTime ?? '',
    });
    form.setSaved(form.values());
    card.setCount(Number(prefs.CloneNumber));
    return true;
  }

  async function loadMasters({ quiet = false } = {}) {
    const result = await run('resultseLectlist', {}, { quiet });
    if (!result.ok) return false;
    const names = readSelectableMasters(result.data?.RsultseLectlist);
    const wasSaved = !form.isDirty();
    form.setSelectOptions('MasterName', names.map((name) => ({ value: name, text: name })));
    if (wasSaved && form.saved()) form.setSaved(form.values());
    return true;
  }

  async function refresh({ quiet = false } = {}) {
    card.setStatus('loading');
    const noList = (r) => r.msg === NO_LIST_MESSAGE;
    const result = await run('getStatusVBoxlist', {}, { quiet, describe: (r) => (noList(r) ? { tone: 'info' } : undefined) });
    if (!result.ok) {
      if (noList(result)) card.setRows([], () => false);
      else card.setStatus('failed', result.msg);
      return false;
    }
    card.setRows(readVboxList(result.data?.Rsultvboxlist), (row) => vboxState(row.state).kind === 'running');
    return true;
  }

  async function makeClones(count) {
    if (form.isDirty() && !(await saveFirst())) return;
    const result = await run('cloneVBox', { number: count }, { labelArgs: { count } });
    // A fresh clone list holds placeholders until the states are read; the
    // power commands find the machines only after that.
    if (result.ok) await refresh({ quiet: true });
  }

  const saveFirst = () => askToSaveFirst({ dialogs, t, form, save });

  async function perform(action, row) {
    if (!(await confirmAction(action, row))) return;
    const data = row ? { id: row.id, type: 1 } : { id: 0, type: 0 };
    const result = await run(action.func, data, {
      label: row ? 'op.one' : 'op.all',
      labelArgs: { action: `@${action.label}`, name: row?.name ?? '' },
    });
    if (result.ok) await refresh({ quiet: true });
  }

  function confirmAction(action, row) {
    const saved = form.saved();
    const master = saved?.MasterName || '—';
    const count = card.rows().length;
    if (action.id === 'delete' && row) {
      const unrefreshed = row.uuid === UNREFRESHED_UUID || row.uuid === '';
      const folder = folderOf(shownPath(row.path));
      return dialogs.confirm({
        title: t('dlg.vbox.deleteOne.title', { id: row.id }),
        confirmLabel: t('dlg.delete'),
        paragraphs: confirmParagraphs(t, {
          key: 'dlg.vbox.deleteOne.body',
          args: { id: row.id, name: row.name, folder: folder || t('dlg.vbox.folderUnknown') },
          code: ['folder'],
          notes: [['dlg.vbox.deleteOne.note', { master: row.belongTo || master, snapshot: row.snapshot }],
            unrefreshed ? ['dlg.vbox.unrefreshed'] : null],
        }),
      });
    }
    if (action.id === 'delete') {
      const folder = saved?.StoragePath ?? '';
      return dialogs.confirm({
        title: t('dlg.vbox.deleteAll.title'),
        confirmLabel: t('dlg.delete'),
        paragraphs: confirmParagraphs(t, {
          key: 'dlg.vbox.deleteAll.body',
          args: { count, folder: folder || '—' },
          code: ['folder'],
          notes: [['dlg.vbox.deleteAll.note', { master }], folder ? null : ['dlg.noFolder']],
        }),
      });
    }
    if (!row && (action.id === 'poweroff' || action.id === 'reset')) {
      const which = action.id === 'poweroff' ? 'poweroffAll' : 'resetAll';
      return dialogs.confirm({
        title: t(`dlg.vbox.${which}.title`),
        confirmLabel: t(`dlg.${action.id}`),
        paragraphs: confirmParagraphs(t, { key: `dlg.vbox.${which}.body`, args: { count }, irreversible: false }),
      });
    }
    return Promise.resolve(true);
  }

  return {
    element,
    loadSettings,
    loadMasters,
    refresh,
    refreshWhenSetUp: () => refreshWhenSetUp({ form, card, refresh }),
    save: () => form.submit(),
  };
}
