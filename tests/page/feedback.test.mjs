// What the user sees of a command: the busy state while it runs, and each
// reply's message as a notice, failures visibly.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { usePage } from './support/harness.mjs';
import { MSG, failed } from './support/native-mock.mjs';

const { open } = usePage();

test('while a command runs the page is busy, names the command and takes no other; the reply ends it', async () => {
  const app = await open({ language: 'en' });
  const { page } = app;
  await app.setReply('getlists', { hold: true, code: 200, msg: MSG.OK, data: { reslist: '{"code":200}' } });
  await app.expectRequest('getlists', () => page.click('#vm-refresh'));

  await page.waitForSelector('#busy-status[data-busy="true"]');
  assert.match(await page.textContent('#busy-status'), /Waiting for: Refresh the VMware clone list\s*getlists/);
  assert.equal(await page.getAttribute('#main', 'aria-busy'), 'true');
  for (const control of ['#vm-refresh', '#vm-clone', '#vm-all-start', '#vm-clones [data-action="delete"]', '#vb-settings button[type="submit"]']) {
    assert.equal(await page.getAttribute(control, 'aria-disabled'), 'true', control);
  }
  const starts = (await app.requests('Vm_PowerON')).length;
  await page.click('#vm-clones tr[data-id="0"] [data-action="start"]', { force: true });  // a user can still press it
  await page.keyboard.press('F5');
  assert.equal((await app.requests('Vm_PowerON')).length, starts);   // nothing sent while busy
  assert.equal((await app.requests('getlists')).length, 2);          // the one at start and the held one

  await app.release('getlists');
  await app.idle();
  assert.equal(await page.textContent('#busy-status'), 'Ready');
  assert.equal(await page.getAttribute('#vm-refresh', 'aria-disabled'), 'false');
  assert.equal(await page.getAttribute('#main', 'aria-busy'), 'false');
});

test('a failed command shows its message in an alert that stays', async () => {
  const app = await open({ language: 'en', replies: { Vm_PowerON: failed(MSG.EXEC_FAILED, { state: false }) } });
  await app.expectRequest('Vm_PowerON', () => app.page.click('#vm-clones tr[data-id="2"] [data-action="start"]'));
  const alert = app.page.locator('#toasts .toast-error[role="alert"]');
  await alert.waitFor();
  assert.match(await alert.textContent(), /Start: web2/);
  assert.match(await alert.textContent(), /failed:Execution failed, please check the environment!/);
  assert.equal(await app.page.getAttribute('#last-notice', 'data-tone'), 'error');
});

test('a reply\'s message is shown in Chinese with the program\'s own text beside it', async () => {
  const app = await open({ replies: { VboxPreferences: failed(MSG.NO_CONFIG, { state: false }) } });
  await app.showTab('vbox');
  await app.expectRequest('VboxPreferences', () => app.page.click('#vb-settings button[type="submit"]'));
  const alert = app.page.locator('#toasts .toast-error');
  await alert.waitFor();
  const text = await alert.textContent();
  assert.match(text, /保存 VirtualBox 设置/);
  assert.match(text, /没有配置文件/);
  assert.match(text, /There is no configuration file/);
});

test('a success the user asked for is a short notice with the reply\'s message', async () => {
  const app = await open({ language: 'en' });
  await app.expectRequest('Vm_Clone_Settings', () => app.page.click('#vm-settings button[type="submit"]'));
  const notice = app.page.locator('#toasts .toast-success', { hasText: 'Save the VMware settings' });
  await notice.waitFor();
  assert.match(await notice.textContent(), /success/);
});

test('a failed load at start is reported too', async () => {
  const app = await open({ language: 'en', replies: { getStatusVBoxlist: failed(MSG.NO_VBOX_PREFS) } });
  await app.page.locator('#toasts .toast-error', { hasText: 'Refresh the VirtualBox clone states' }).waitFor();
});

test('a command without a reply in time is given up, and a late reply still reaches the user', async () => {
  const app = await open({ language: 'en', replies: { getlists: { hold: true, code: 200, msg: MSG.OK, data: null } } , ready: false });
  const outcome = await app.page.evaluate(async () => {
    const { createBridge } = await import('./js/bridge.js');
    const bridge = createBridge({ timeoutFor: () => 50 });
    const late = new Promise((resolve) => bridge.onLateReply(resolve));
    const result = await bridge.call('getlists');
    const waitingAfter = bridge.waiting().length;
    window.__native.release('getlists');   // the start-up refresh
    window.__native.release('getlists');   // ours, too late
    return { result, waitingAfter, late: await late };
  });
  assert.equal(outcome.result.ok, false);
  assert.equal(outcome.result.error, 'timeout');
  assert.equal(outcome.waitingAfter, 0);
  assert.equal(outcome.late.func, 'getlists');
  assert.equal(outcome.late.msg, MSG.OK);
});

test('without the native function the page still opens and says it is not connected', async () => {
  const app = await open({ language: 'en', native: false, ready: false });
  await app.page.locator('#toasts .toast-error', { hasText: 'Not connected to the Tarnwick program' }).first().waitFor();
  assert.equal(await app.page.textContent('#busy-status'), 'Ready');
  assert.deepEqual(app.problems.filter((p) => !/Failed to load resource/.test(p)), []);
});
