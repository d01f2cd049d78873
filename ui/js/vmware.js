// The VMware Workstation tab: settings (saved with "Vm_Clone_Settings", read
// with "resultjson"), the clone list ("getlists"), cloning ("Vm_Start_Cloning")
// and the power and delete commands on one clone (type 1, VmxId) or on all
// (type 0: clones 0 to CloneNumber - 1 of the saved settings).

import { h } from './dom.js';
import { createSettingsForm } from './settings-form.js';
import { createClonesCard, MAX_CLONES } from './clones-card.js';
import { readPrefs, readVmwareList, folderOf, vmwareStateKind } from './replies.js';
import { askToSaveFirst, chooseInto, stateBadge, confirmParagraphs, refreshWhenSetUp } from './panel-parts.js';

// "getlists" when the settings file or the storage folder is missing.
const NO_CONFIG_MESSAGE = 'There is no configuration file, or the corresponding file and directory do not exist!';

// Sent with "getversions" at start; the program writes them only when VMware
// Workstation is installed and no settings file exists yet. The storage folder
// is left empty on purpose: the user picks it (an empty one deletes nothing).
export const VMWARE_DEFAULTS = {
  InstallationPath: '',
  MasterPath: '',
  StoragePath: '',
  BootTask: '',
  CloneType: 'linked',
  CloneNumber: 3,
  NamePrefix: 'clone',
  StartIntervalTime: 10,
};

const MODES = [
  { value: 0, label: 'vm.mode.soft', word: 'soft' },
  { value: 1, label: 'vm.mode.hard', word: 'hard' },
];

// What each action sends. modeMember: reset and stop also send the mode.
const ACTIONS = [
  { id: 'start', icon: 'play', label: 'act.start', tip: 'tip.vm.start', func: 'Vm_PowerON' },
  { id: 'suspend', icon: 'suspend', label: 'act.suspend', tip: 'tip.vm.suspend', func: 'Vm_Pause' },
  { id: 'unpause', icon: 'resume', label: 'act.unpause', tip: 'tip.vm.unpause', func: 'Vm_UnPause' },
  { id: 'reset', icon: 'reset', label: 'act.reset', tip: 'tip.vm.reset', func: 'Vm_Reboot', modeMember: 'Restart_Type' },
  { id: 'stop', icon: 'stop', label: 'act.stop', tip: 'tip.vm.stop', func: 'Vm_Shutdown', modeMember: 'off_Type' },
  { id: 'delete', icon: 'trash', label: 'act.delete', tip: 'tip.vm.delete', func: 'Vm_Delete', danger: true },
];

// The request members of "Vm_Clone_Settings" from the form's values. The
// program builds clone paths as folder + number, so the folder gets its
// closing backslash here.
export function vmwareSettingsRequest(values) {
  return {
    InstallationPath: values.InstallationPath.trim(),
    MasterPath: values.MasterPath.trim(),
    StoragePath: withClosingBackslash(values.StoragePath.trim()),
    BootTask: values.BootTask,
    CloneType: values.CloneType,
    CloneNumber: values.CloneNumber,
    NamePrefix: values.NamePrefix.trim(),
    StartIntervalTime: values.StartIntervalTime,
  };
}

function withClosingBackslash(path) {
  return path === '' || /[\\/]$/.test(path) ? path : `${path}\\`;
}

export function createVmwarePanel({ run, i18n, dialogs }) {
  const { t } = i18n;
  let mode = 0;

  const form = createSettingsForm({
    idPrefix: 'vm',
    titleKey: 'settings.title',
    i18n,
    onSubmit: (values) => save(values),
    fields: [
      { name: 'InstallationPath', kind: 'text', mono: true, label: 'vm.field.tool', hint: 'vm.hint.tool',
        button: { icon: 'folder', label: 'vm.choose.tool', onClick: () => choose('Vm_shoose_dir', 'installpath', 'InstallationPath', 'folder') } },
      { name: 'MasterPath', kind: 'text', mono: true, label: 'vm.field.master', hint: 'vm.hint.master',
        button: { icon: 'file', label: 'vm.choose.master', onClick: () => choose('FileDialog', 'file', 'MasterPath', 'file') } },
      { name: 'StoragePath', kind: 'text', mono: true, label: 'vm.field.storage', hint: 'vm.hint.storage',
        button: { icon: 'folder', label: 'vm.choose.storage', onClick: () => choose('Vm_shoose', 'StoragePath', 'StoragePath', 'folder') } },
      { name: 'CloneType', kind: 'choice', label: 'vm.field.type',
        options: [{ value: 'linked', label: 'vm.type.linked' }, { value: 'full', label: 'vm.type.full' }] },
      { name: 'NamePrefix', kind: 'text', half: true, label: 'field.prefix' },
      { name: 'CloneNumber', kind: 'number', half: true, label: 'field.count', min: 1, max: MAX_CLONES },
      { name: 'StartIntervalTime', kind: 'number', label: 'field.interval', hint: 'vm.hint.interval', min: 0, max: 86400 },
      { name: 'BootTask', kind: 'hidden' },  // kept as loaded; nothing on the page uses it
    ],
  });
  form.setValues(VMWARE_DEFAULTS);

  const modeSelect = h('select', { class: 'input input-small', id: 'vm-mode', 'aria-labelledby': 'vm-mode-label', on: { change: () => { mode = Number(modeSelect.value); } } },
    MODES.map((m) => h('option', { value: String(m.value), t: m.label })));
  const card = createClonesCard({
    idPrefix: 'vm',
    captionKey: 'vm.table.caption',
    i18n,
    actions: ACTIONS,
    bulkExtras: [h('label', { class: 'bulk-mode' }, h('span', { id: 'vm-mode-label', t: 'vm.mode' }), modeSelect)],
    columns: [
      { label: 'col.id', className: 'col-id', cell: (row) => String(row.id) },
      { label: 'col.name', className: 'col-name', cell: (row) => row.name },
      { label: 'col.path', className: 'col-path', cell: (row) => h('span', { class: 'path', title: row.path, text: row.path }) },
      { label: 'col.state', className: 'col-state', cell: (row) => stateBadge(vmwareStateKind(row.state), row.state) },
    ],
    onRefresh: () => refresh(),
    onClone: (count) => makeClones(count),
    onAction: (action, row) => perform(action, row),
  });

  const element = h('div', { class: 'panel-grid' }, h('section', { class: 'card settings-card' }, form.element), card.element);
  card.setStatus('idle');

  function choose(func, member, field, what) {
    return chooseInto({ run, t, form, func, member, field, what });
  }

  async function save(values) {
    const request = vmwareSettingsRequest(values);
    const result = await run('Vm_Clone_Settings', request);
    if (result.ok) {
      form.setValue('StoragePath', request.StoragePath);
      form.setSaved(form.values());
      showSavedScope();
    }
    return result.ok;
  }

  // Reads the saved settings into the form; false when there are none.
  async function loadSettings() {
    const result = await run('resultjson', {}, { quiet: true, describe: (r) => (r.ok ? undefined : { tone: 'info' }) });
    const prefs = result.ok ? readPrefs(result.data?.resultjson) : null;
    if (!prefs) {
      form.setSaved(null);
      showSavedScope();
      return false;
    }
    form.setValues({
      InstallationPath: prefs.InstallationPath ?? '',
      MasterPath: prefs.MasterPath ?? '',
      StoragePath: prefs.StoragePath ?? '',
      BootTask: prefs.BootTask ?? '',
      CloneType: prefs.CloneTypy ?? '',
      CloneNumber: prefs.CloneNumber ?? '',
      NamePrefix: prefs.NamePrefix ?? '',
      StartIntervalTime: prefs.StartIntervalTime ?? '',
    });
    form.setSaved(form.values());
    showSavedScope();
    return true;
  }

  function showSavedScope() {
    const saved = form.saved();
    const count = saved ? saved.CloneNumber : NaN;
    card.setCount(count);
    if (Number.isInteger(count) && count > 0) card.setScope('vm.all.scope', 'vm.all.scopeTitle', { count, last: count - 1 });
    else card.setScope(null);
  }

  async function refresh({ quiet = false } = {}) {
    card.setStatus('loading');
    // With settings saved, this answer means the storage folder holds nothing
    // yet (it is made by the first clone): an empty list, not a failure.
    const noFolder = (r) => r.msg === NO_CONFIG_MESSAGE && form.saved() !== null;
    const result = await run('getlists', {}, { quiet, describe: (r) => (noFolder(r) ? { tone: 'info' } : undefined) });
    if (!result.ok) {
      if (noFolder(result)) card.setRows([], () => false);
      else card.setStatus('failed', result.msg);
      return false;
    }
    card.setRows(readVmwareList(result.data?.reslist), (row) => vmwareStateKind(row.state) === 'running');
    return true;
  }

  async function makeClones(count) {
    if (form.isDirty() && !(await saveFirst())) return;
    const result = await run('Vm_Start_Cloning', { number: count }, { labelArgs: { count } });
    if (result.ok) await refresh({ quiet: true });
  }

  const saveFirst = () => askToSaveFirst({ dialogs, t, form, save });

  // row null: the action on all clones.
  async function perform(action, row) {
    if (!(await confirmAction(action, row))) return;
    const data = row ? { VmxId: row.id, type: 1 } : { VmxId: 0, type: 0 };
    if (action.modeMember) data[action.modeMember] = mode;
    const result = await run(action.func, data, {
      label: row ? 'op.one' : 'op.all',
      labelArgs: { action: `@${action.label}`, name: row?.name ?? '' },
    });
    if (result.ok) await refresh({ quiet: true });
  }

  function confirmAction(action, row) {
    const saved = form.saved();
    const count = saved?.CloneNumber ?? 0;
    const modeLabel = t(MODES[mode].label);
    if (action.id === 'delete' && row) {
      return dialogs.confirm({
        title: t('dlg.vm.deleteOne.title', { id: row.id }),
        confirmLabel: t('dlg.delete'),
        paragraphs: confirmParagraphs(t, {
          key: 'dlg.vm.deleteOne.body',
          args: { id: row.id, name: row.name, folder: folderOf(row.path) || `${saved?.StoragePath ?? ''}${row.id}\\` },
          code: ['folder'],
          notes: [['dlg.vm.deleteOne.note']],
        }),
      });
    }
    if (action.id === 'delete') {
      const folder = saved?.StoragePath ?? '';
      return dialogs.confirm({
        title: t('dlg.vm.deleteAll.title'),
        confirmLabel: t('dlg.delete'),
        paragraphs: confirmParagraphs(t, {
          key: 'dlg.vm.deleteAll.body',
          args: { folder: folder || '—', count: card.rows().length },
          code: ['folder'],
          notes: [['dlg.vm.deleteAll.note', { folder: folder || '—' }], folder ? null : ['dlg.noFolder']],
        }),
      });
    }
    if (!row && (action.id === 'stop' || action.id === 'reset')) {
      const which = action.id === 'stop' ? 'stopAll' : 'resetAll';
      return dialogs.confirm({
        title: t(`dlg.vm.${which}.title`),
        confirmLabel: t(`dlg.${action.id}`),
        paragraphs: confirmParagraphs(t, { key: `dlg.vm.${which}.body`, args: { last: Math.max(count - 1, 0), mode: modeLabel }, irreversible: false }),
      });
    }
    return Promise.resolve(true);
  }

  return {
    element,
    loadSettings,
    refresh,
    refreshWhenSetUp: () => refreshWhenSetUp({ form, card, refresh }),
    save: () => form.submit(),
  };
}
