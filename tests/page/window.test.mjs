// The frameless window: dragging by the title bar, minimise, tray, quit, the
// help link; and a page that fetches nothing from anywhere but its server.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { usePage } from './support/harness.mjs';

const { open } = usePage();

test('pressing on the title bar starts a window drag and releasing anywhere ends it', async () => {
  const app = await open();
  const { page } = app;
  const box = await page.locator('.titlebar-fill').boundingBox();
  await app.expectRequest('move_begin', async () => {
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.down();
  });
  assert.equal((await app.requests('move_end')).length, 0);   // still dragging
  await app.expectRequest('move_end', async () => {
    await page.mouse.move(700, 500);                        // the pointer may leave the title bar
    await page.mouse.up();
  });
  // Another release without a drag sends nothing more.
  await page.mouse.click(700, 500);
  assert.equal((await app.requests('move_end')).length, 1);
});

test('the title bar\'s buttons and tabs are no drag handle', async () => {
  const app = await open();
  for (const control of ['#btn-minimize', '#btn-lang', '#tab-vbox', '#tab-vmware']) await app.page.click(control);
  assert.equal((await app.requests('move_begin')).length, 0);
  assert.equal((await app.requests('minimize')).length, 1);
});

test('hide to tray sends close with tray true', async () => {
  const app = await open();
  const request = await app.expectRequest('close', () => app.page.click('#btn-tray'));
  assert.deepEqual(request.data, { tray: true });
  assert.equal(request.withCallback, true);
});

test('quit asks first, then sends close with tray false and expects no reply', async () => {
  const app = await open({ language: 'en' });
  await app.page.click('#btn-quit');
  assert.match(await app.dialog().textContent(), /Quit Tarnwick\?/);
  await app.page.click('.dialog button[data-value="cancel"]');
  assert.equal((await app.requests('close')).length, 0);

  await app.page.click('#btn-quit');
  const request = await app.expectRequest('close', () => app.page.click('.dialog button[data-value="quit"]'));
  assert.deepEqual(request.data, { tray: false });
  assert.equal(request.withCallback, false);   // callback id 0: the program ends before it could answer
  assert.equal(await app.page.getAttribute('#busy-status', 'data-busy'), 'false');
});

test('the help dialog opens documentation through openUrl, whose -1 is no failure', async () => {
  const app = await open({ language: 'en' });
  await app.page.click('#btn-help');
  assert.match(await app.dialog().textContent(), /1\.0\.1 Standard/);
  const request = await app.expectRequest('openUrl', () => app.page.click('.dialog .link-btn >> nth=1'));
  assert.equal(request.data.url, 'https://www.virtualbox.org/manual/');
  await app.page.locator('#toasts .toast-info', { hasText: 'Asked Windows to open https://www.virtualbox.org/manual/' }).waitFor();
  assert.equal(await app.page.locator('#toasts .toast-error').count(), 0);
});

test('tabs work from the keyboard', async () => {
  const app = await open();
  await app.page.focus('#tab-vmware');
  await app.page.keyboard.press('ArrowRight');
  assert.equal(await app.page.getAttribute('#tab-vbox', 'aria-selected'), 'true');
  assert.equal(await app.page.isVisible('#panel-vbox'), true);
  assert.equal(await app.page.isVisible('#panel-vmware'), false);
  await app.page.keyboard.press('Control+1');
  assert.equal(await app.page.getAttribute('#tab-vmware', 'aria-selected'), 'true');
});

test('the page loads with no script error and asks nothing of any other server', async () => {
  const app = await open();
  await app.page.click('#tab-vbox');
  await app.page.click('#btn-help');
  await app.page.keyboard.press('Escape');
  assert.deepEqual(app.problems, []);
  assert.deepEqual(app.foreign, []);
  const outside = await app.page.evaluate(() => performance.getEntriesByType('resource').map((e) => e.name).filter((url) => !url.startsWith(location.origin)));
  assert.deepEqual(outside, []);
});

test('the page is transparent around a card inset for its shadow', async () => {
  const app = await open();
  const look = await app.page.evaluate(() => ({
    html: getComputedStyle(document.documentElement).backgroundColor,
    body: getComputedStyle(document.body).backgroundColor,
    frame: document.getElementById('frame').getBoundingClientRect().toJSON(),
    radius: getComputedStyle(document.getElementById('frame')).borderTopLeftRadius,
  }));
  assert.equal(look.html, 'rgba(0, 0, 0, 0)');
  assert.equal(look.body, 'rgba(0, 0, 0, 0)');
  assert.deepEqual([look.frame.x, look.frame.y, look.frame.width, look.frame.height], [12, 12, 1376, 696]);
  assert.notEqual(look.radius, '0px');
});
