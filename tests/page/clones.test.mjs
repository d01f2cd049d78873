// The clone tables: replies of "getlists" and "getStatusVBoxlist" fill them,
// and every action, on one row or on all clones, sends its command's members.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { usePage } from './support/harness.mjs';
import { ok, jsonText, MSG, FIRST_RUN_REPLIES } from './support/native-mock.mjs';

const { open } = usePage();

function tableRows(page, tableId) {
  return page.$$eval(`#${tableId} tbody tr[data-id]`, (rows) => rows.map((row) => [...row.cells].slice(0, 4).map((cell) => cell.innerText.replace(/\s+/g, ' ').trim())));
}

test('the VMware table shows the clones of "getlists" by number, with their states', async () => {
  const list = [  // in file-system order, as the program lists the folders
    { id: 0, name: 'web0', path: 'D:\\c\\0\\0.vmx', state: 'runing' },
    { id: 1, name: 'web1', path: 'D:\\c\\1\\1.vmx', state: 'paused' },
    { id: 10, name: 'web10', path: 'D:\\c\\10\\10.vmx', state: 'unknown' },
    { id: 2, name: 'web2', path: 'D:\\c\\2\\2.vmx', state: 'unknown' },
  ];
  const app = await open({ language: 'en', replies: { getlists: ok({ reslist: jsonText({ code: 200, data: list }) }) } });
  assert.deepEqual(await tableRows(app.page, 'vm-clones'), [
    ['0', 'web0', 'D:\\c\\0\\0.vmx', 'Running'],
    ['1', 'web1', 'D:\\c\\1\\1.vmx', 'Paused'],
    ['2', 'web2', 'D:\\c\\2\\2.vmx', 'Not running'],
    ['10', 'web10', 'D:\\c\\10\\10.vmx', 'Not running'],
  ]);
  assert.equal(await app.page.textContent('#vm-summary'), '4 in all · 1 running');
});

test('the VirtualBox table shows the records of "getStatusVBoxlist" with the tool\'s states', async () => {
  const record = (id, state, uuid = `uuid-${id}`) => ({ id, snapshot: id, name: `vb${id}`, uuid, path: `D:\\v\\${id}\\vb${id}\\vb${id}.vbox`, state, belongTo: 'master' });
  const list = [
    record(0, 'running (since 2024-05-01T10:00:00.000000000)'),
    record(1, 'paused (since 2024-05-01T10:05:00.000000000)'),
    record(2, 'powered off (since 2024-05-01T09:00:00.000000000)'),
    { ...record(3, 'dbug', 'dbug'), path: 'dbug' },   // cloned, states not read yet
  ];
  const app = await open({ language: 'en', replies: { getStatusVBoxlist: ok({ Rsultvboxlist: jsonText({ code: 200, data: list }) }) } });
  await app.showTab('vbox');
  assert.deepEqual(await tableRows(app.page, 'vb-clones'), [
    ['0', 'vb0 uuid-0', 'D:\\v\\0\\vb0\\vb0.vbox', 'Running since 2024-05-01 10:00:00'],
    ['1', 'vb1 uuid-1', 'D:\\v\\1\\vb1\\vb1.vbox', 'Paused since 2024-05-01 10:05:00'],
    ['2', 'vb2 uuid-2', 'D:\\v\\2\\vb2\\vb2.vbox', 'Powered off since 2024-05-01 09:00:00'],
    ['3', 'vb3', '', 'Not refreshed'],
  ]);
});

test('a list that cannot be read shows the reply\'s message in the table', async () => {
  const app = await open({ replies: FIRST_RUN_REPLIES });
  await app.page.click('#vm-refresh');
  await app.page.waitForSelector('#vm-clones .status-row .table-status-failed');
  assert.match(await app.page.textContent('#vm-clones .status-row'), /There is no configuration file/);
});

test('with settings saved, a storage folder not made yet is an empty list, not a failure', async () => {
  const app = await open({ language: 'en', replies: { getlists: { code: -1, msg: MSG.NO_CONFIG, data: { reslist: '' } } } });
  assert.match(await app.page.textContent('#vm-clones .status-row'), /No clones yet/);
  assert.equal(await app.page.locator('#toasts .toast-error').count(), 0);
});

// [tab, row id or null for all clones, action button, command, data sent]
// Reset and stop send the mode chosen in the bar (0 soft, 1 hard; here hard).
const ACTIONS = [
  ['vmware', 2, 'start', 'Vm_PowerON', { VmxId: 2, type: 1 }],
  ['vmware', 2, 'suspend', 'Vm_Pause', { VmxId: 2, type: 1 }],
  ['vmware', 2, 'unpause', 'Vm_UnPause', { VmxId: 2, type: 1 }],
  ['vmware', 2, 'reset', 'Vm_Reboot', { VmxId: 2, type: 1, Restart_Type: 1 }],
  ['vmware', 2, 'stop', 'Vm_Shutdown', { VmxId: 2, type: 1, off_Type: 1 }],
  ['vmware', 2, 'delete', 'Vm_Delete', { VmxId: 2, type: 1 }],
  ['vmware', null, 'start', 'Vm_PowerON', { VmxId: 0, type: 0 }],
  ['vmware', null, 'suspend', 'Vm_Pause', { VmxId: 0, type: 0 }],
  ['vmware', null, 'unpause', 'Vm_UnPause', { VmxId: 0, type: 0 }],
  ['vmware', null, 'reset', 'Vm_Reboot', { VmxId: 0, type: 0, Restart_Type: 1 }],
  ['vmware', null, 'stop', 'Vm_Shutdown', { VmxId: 0, type: 0, off_Type: 1 }],
  ['vmware', null, 'delete', 'Vm_Delete', { VmxId: 0, type: 0 }],
  ['vbox', 1, 'start', 'startVBox', { id: 1, type: 1 }],
  ['vbox', 1, 'pause', 'unpauseVBox', { id: 1, type: 1 }],    // the program's pause command
  ['vbox', 1, 'resume', 'repauseVBox', { id: 1, type: 1 }],   // the program's resume command
  ['vbox', 1, 'reset', 'restVBox', { id: 1, type: 1 }],
  ['vbox', 1, 'poweroff', 'offVBox', { id: 1, type: 1 }],
  ['vbox', 1, 'delete', 'delVBox', { id: 1, type: 1 }],
  ['vbox', null, 'start', 'startVBox', { id: 0, type: 0 }],
  ['vbox', null, 'pause', 'unpauseVBox', { id: 0, type: 0 }],
  ['vbox', null, 'resume', 'repauseVBox', { id: 0, type: 0 }],
  ['vbox', null, 'reset', 'restVBox', { id: 0, type: 0 }],
  ['vbox', null, 'poweroff', 'offVBox', { id: 0, type: 0 }],
  ['vbox', null, 'delete', 'delVBox', { id: 0, type: 0 }],
];

test('every action on one clone and on all clones sends its command with the right members', async () => {
  const app = await open({ language: 'en' });
  await app.page.selectOption('#vm-mode', '1');
  for (const [tab, rowId, action, func, data] of ACTIONS) {
    await app.showTab(tab);
    const prefix = tab === 'vbox' ? 'vb' : 'vm';
    const button = rowId === null ? `#${prefix}-all-${action}` : `#${prefix}-clones tr[data-id="${rowId}"] [data-action="${action}"]`;
    const list = tab === 'vbox' ? 'getStatusVBoxlist' : 'getlists';
    const refreshes = (await app.requests(list)).length;
    const request = await app.expectRequest(func, async () => {
      await app.page.click(button);
      if (await app.dialog().count()) await app.dialog().locator('.btn-danger').click();  // confirm
    });
    assert.deepEqual(request.data, data, `${tab} ${rowId ?? 'all'} ${action}`);
    await app.nextRequest(list, refreshes);   // the list is read again after the action
    await app.idle();
  }
});

test('VirtualBox labels say what the commands do: "unpauseVBox" is Pause, "repauseVBox" is Resume', async () => {
  const app = await open({ language: 'en' });
  await app.showTab('vbox');
  const label = (action) => app.page.getAttribute(`#vb-clones tr[data-id="0"] [data-action="${action}"]`, 'aria-label');
  assert.equal(await label('pause'), 'Pause vb0');
  assert.equal(await label('resume'), 'Resume vb0');
  assert.equal(await app.page.textContent('#vb-all-pause'), 'Pause');
  assert.match(await app.page.getAttribute('#vb-all-pause', 'title'), /controlvm pause/);
  assert.match(await app.page.getAttribute('#vb-all-resume', 'title'), /controlvm resume/);
});

// [tab, command, count field, list read afterwards]
const CLONING = [
  ['vmware', 'Vm_Start_Cloning', '#vm-clone-count', 'getlists'],
  ['vbox', 'cloneVBox', '#vb-clone-count', 'getStatusVBoxlist'],
];

test('the clone button sends the count, then reads the list again', async () => {
  const app = await open();
  for (const [tab, func, countField, list] of CLONING) {
    await app.showTab(tab);
    const refreshes = (await app.requests(list)).length;
    await app.page.fill(countField, '7');
    const request = await app.expectRequest(func, () => app.page.click(`#${tab === 'vbox' ? 'vb' : 'vm'}-clone`));
    assert.deepEqual(request.data, { number: 7 });
    await app.nextRequest(list, refreshes);
    await app.idle();
  }
});

test('cloning with unsaved settings offers to save them first', async () => {
  const app = await open({ language: 'en' });
  await app.page.fill('#vm-NamePrefix', 'edited');
  await app.page.click('#vm-clone');
  await app.dialog().getByText('Save and clone').click();
  const saved = await app.nextRequest('Vm_Clone_Settings', 0);
  assert.equal(saved.data.NamePrefix, 'edited');
  const cloned = await app.nextRequest('Vm_Start_Cloning', 0);
  assert.deepEqual(cloned.data, { number: 4 });   // the count field starts at the saved number
  const funcs = (await app.requests()).map((r) => r.func);
  assert.ok(funcs.indexOf('Vm_Clone_Settings') < funcs.indexOf('Vm_Start_Cloning'));
});

test('"resultseLectlist" fills the master drop-down; the reload button asks again', async () => {
  const app = await open();
  await app.showTab('vbox');
  await app.setReply('resultseLectlist', ok({ RsultseLectlist: jsonText({ code: 200, data: [{ boot: 'alpha' }, { boot: 'master' }] }) }));
  await app.expectRequest('resultseLectlist', () => app.page.click('#vb-MasterName-button'));
  await app.page.waitForSelector('#vb-MasterName option[value="alpha"]', { state: 'attached' });
  assert.deepEqual(await app.page.$$eval('#vb-MasterName option', (options) => options.map((o) => o.value)), ['', 'alpha', 'master']);
  assert.equal(await app.page.inputValue('#vb-MasterName'), 'master');
});
