// Settings: what the page sends at start, how replies fill the forms, and the
// members each save and chooser command carries.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { usePage } from './support/harness.mjs';
import { VMWARE_PREFS, VBOX_PREFS, FIRST_RUN_REPLIES, MSG, failed, ok, jsonText } from './support/native-mock.mjs';

const { open } = usePage();

test('start: window centred, getversions with both sets of defaults, forms filled from the saved settings', async () => {
  const app = await open();
  const funcs = (await app.requests()).map((r) => r.func);
  assert.deepEqual(funcs.slice(0, 5), ['desktop_size', 'show', 'getversions', 'resultjson', 'ResultVBoxPrefs']);

  const [show] = await app.requests('show');
  assert.deepEqual(show.data, { x: 260, y: 180, w: 1400, h: 720, show: true });  // desktop 1920 x 1080

  const [versions] = await app.requests('getversions');
  assert.deepEqual(Object.keys(versions.data).sort(), [
    'BootTask', 'CloneNumber', 'CloneType', 'CloneTypy', 'InstallationPath', 'MasterName', 'MasterPath',
    'NamePrefix', 'StartIntervalTime', 'StoragePath',
  ]);
  assert.equal(typeof versions.data.CloneNumber, 'number');
  assert.equal(typeof versions.data.StartIntervalTime, 'number');
  assert.match(await app.page.textContent('#version'), /1\.0\.1 Standard/);

  const page = app.page;
  assert.equal(await page.inputValue('#vm-InstallationPath'), VMWARE_PREFS.InstallationPath);
  assert.equal(await page.inputValue('#vm-MasterPath'), VMWARE_PREFS.MasterPath);
  assert.equal(await page.inputValue('#vm-StoragePath'), VMWARE_PREFS.StoragePath);
  assert.equal(await page.isChecked('#vm-CloneType input[value="linked"]'), true);
  assert.equal(await page.inputValue('#vm-NamePrefix'), 'web');
  assert.equal(await page.inputValue('#vm-CloneNumber'), '4');
  assert.equal(await page.inputValue('#vm-StartIntervalTime'), '5');
  assert.equal(await page.inputValue('#vb-MasterName'), VBOX_PREFS.MasterName);
  assert.deepEqual(await page.$$eval('#vb-MasterName option', (options) => options.map((o) => o.value)), ['', 'master', 'win10']);
  assert.equal(await page.inputValue('#vb-StoragePath'), VBOX_PREFS.StoragePath);
  assert.equal(await page.isChecked('#vb-CloneTypy input[value="link"]'), true);
  assert.deepEqual(app.problems, []);
});

test('first run: no saved settings leaves the defaults in the forms and reads no lists', async () => {
  const app = await open({ replies: FIRST_RUN_REPLIES });
  const funcs = (await app.requests()).map((r) => r.func);
  assert.ok(!funcs.includes('getlists') && !funcs.includes('getStatusVBoxlist'));
  assert.equal(await app.page.inputValue('#vm-NamePrefix'), 'clone');
  assert.equal(await app.page.getAttribute('#vm-settings .save-state', 'data-state'), 'new');
});

test('settings without a storage folder (as "getversions" first writes them) read no list and say what to set up', async () => {
  const app = await open({ language: 'en', replies: {
    resultjson: ok({ resultjson: jsonText({ Prefs: [{ ...VMWARE_PREFS, MasterPath: '', StoragePath: '' }] }) }),
    ResultVBoxPrefs: ok({ RsultBoxPrefs: jsonText({ Prefs: [{ ...VBOX_PREFS, StoragePath: '' }] }) }),
  } });
  const funcs = (await app.requests()).map((r) => r.func);
  assert.ok(!funcs.includes('getlists') && !funcs.includes('getStatusVBoxlist'));
  assert.ok(funcs.includes('resultseLectlist'));   // the masters to choose from are still read
  assert.match(await app.page.textContent('#vm-clones .status-row'), /Choose the master machine and the storage folder/);
  assert.equal(await app.page.locator('#toasts .toast-error').count(), 0);
});

test('saving VMware settings sends every member of Vm_Clone_Settings', async () => {
  const app = await open({ language: 'en' });
  const { page } = app;
  await page.fill('#vm-StoragePath', 'E:\\farm');             // the closing backslash is added
  await page.fill('#vm-NamePrefix', 'node');
  await page.fill('#vm-CloneNumber', '12');
  await page.fill('#vm-StartIntervalTime', '30');
  await page.click('#vm-CloneType label:has(input[value="full"])');
  assert.equal(await page.textContent('#vm-settings .save-state'), 'Unsaved changes');

  const request = await app.expectRequest('Vm_Clone_Settings', () => page.click('#vm-settings button[type="submit"]'));
  assert.deepEqual(request.data, {
    InstallationPath: VMWARE_PREFS.InstallationPath,
    MasterPath: VMWARE_PREFS.MasterPath,
    StoragePath: 'E:\\farm\\',
    BootTask: '',
    CloneType: 'full',
    CloneNumber: 12,
    NamePrefix: 'node',
    StartIntervalTime: 30,
  });
  await page.waitForSelector('#vm-settings .save-state[data-state="saved"]');
  assert.equal(await page.inputValue('#vm-StoragePath'), 'E:\\farm\\');
});

test('saving VirtualBox settings sends every member of VboxPreferences', async () => {
  const app = await open();
  const { page } = app;
  await app.showTab('vbox');
  await page.selectOption('#vb-MasterName', 'win10');
  await page.click('#vb-CloneTypy label:has(input[value=""])');   // full clone: no --options word
  await page.fill('#vb-NamePrefix', 'farm');
  await page.fill('#vb-CloneNumber', '5');

  const request = await app.expectRequest('VboxPreferences', () => page.keyboard.press('Control+s'));
  assert.deepEqual(request.data, {
    InstallationPath: VBOX_PREFS.InstallationPath,
    MasterName: 'win10',
    StoragePath: VBOX_PREFS.StoragePath,
    CloneTypy: '',
    CloneNumber: 5,
    NamePrefix: 'farm',
    StartIntervalTime: 0,
  });
});

test('a number out of range keeps the form from being sent and says why', async () => {
  const app = await open({ language: 'en' });
  const { page } = app;
  await page.fill('#vm-CloneNumber', '0');
  await page.click('#vm-settings button[type="submit"]');
  assert.equal(await page.textContent('#vm-CloneNumber-error'), 'Enter a whole number from 1 to 512');
  assert.equal(await page.getAttribute('#vm-CloneNumber', 'aria-invalid'), '');
  assert.equal((await app.requests('Vm_Clone_Settings')).length, 0);
});

// [tab, chooser button, command, reply member, field filled]
const CHOOSERS = [
  ['vmware', '#vm-InstallationPath-button', 'Vm_shoose_dir', 'installpath', '#vm-InstallationPath'],
  ['vmware', '#vm-MasterPath-button', 'FileDialog', 'file', '#vm-MasterPath'],
  ['vmware', '#vm-StoragePath-button', 'Vm_shoose', 'StoragePath', '#vm-StoragePath'],
  ['vbox', '#vb-InstallationPath-button', 'vbox_shoose_dir', 'InstallationPath', '#vb-InstallationPath'],
  ['vbox', '#vb-StoragePath-button', 'Vm_shoose', 'StoragePath', '#vb-StoragePath'],  // the one storage chooser serves both tabs
];

test('each chooser fills its field from the reply', async () => {
  const app = await open();
  for (const [tab, button, func, member, field] of CHOOSERS) {
    await app.showTab(tab);
    const chosen = `Z:\\chosen by ${func} for ${field}`;
    await app.setReply(func, { code: 200, msg: MSG.OK, data: { [member]: chosen } });
    await app.expectRequest(func, () => app.page.click(button));
    await app.page.waitForFunction(([selector, value]) => document.querySelector(selector).value === value, [field, chosen]);
  }
});

test('a cancelled chooser keeps the field and says nothing was chosen', async () => {
  const app = await open({ language: 'en' });
  await app.setReply('Vm_shoose', failed(''));                       // folder chooser cancelled
  await app.setReply('FileDialog', { code: 200, msg: MSG.OK, data: { file: '' } });  // file chooser cancelled
  await app.expectRequest('Vm_shoose', () => app.page.click('#vm-StoragePath-button'));
  await app.toasts().filter({ hasText: 'No folder was chosen.' }).waitFor();
  await app.expectRequest('FileDialog', () => app.page.click('#vm-MasterPath-button'));
  await app.toasts().filter({ hasText: 'No file was chosen.' }).waitFor();
  assert.equal(await app.page.inputValue('#vm-StoragePath'), VMWARE_PREFS.StoragePath);
  assert.equal(await app.page.inputValue('#vm-MasterPath'), VMWARE_PREFS.MasterPath);
  assert.equal(await app.page.locator('#toasts .toast-error').count(), 0);
});
