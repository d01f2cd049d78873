// Destructive actions ask first and say exactly what goes; nothing is sent
// unless the user confirms.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { usePage } from './support/harness.mjs';

const { open } = usePage();

// [tab, button, command, what the question says]
const QUESTIONS = [
  ['vmware', '#vm-clones tr[data-id="3"] [data-action="delete"]', 'Vm_Delete',
    ['Delete clone 3 (web3) and its folder D:\\clones\\3\\ from disk?', 'This clone is stopped hard first; the other clones keep running.']],
  ['vmware', '#vm-all-delete', 'Vm_Delete',
    ['Delete the numbered clone folders in D:\\clones\\ (4 clones listed) and Tarnwick\'s clone list from disk?',
      'your own files in that folder stay.', 'VMware Workstation is closed and started again, minimised.']],
  ['vmware', '#vm-all-stop', 'Vm_Shutdown', ['Stop clones 0 to 3 one by one (Soft (guest)).']],
  ['vbox', '#vb-clones tr[data-id="1"] [data-action="delete"]', 'delVBox',
    ['Power off clone 1 (vb1), unregister it from VirtualBox and delete its files D:\\vbox\\1\\vb1\\ from disk?',
      'Snapshot 1 of the master master is deleted too.']],
  ['vbox', '#vb-all-delete', 'delVBox',
    ['Power off and unregister all 2 clones and delete their files from disk?',
      'nothing else at D:\\vbox\\ is touched.']],
  ['vbox', '#vb-all-poweroff', 'offVBox', ['Cut the power of all 2 listed clones at once.']],
];

test('each destructive action names what it affects, and sends nothing when cancelled', async () => {
  const app = await open({ language: 'en' });
  for (const [tab, button, func, sentences] of QUESTIONS) {
    await app.showTab(tab);
    await app.page.click(button);
    const text = (await app.dialog().textContent()).replace(/\s+/g, ' ');
    for (const sentence of sentences) assert.ok(text.includes(sentence), `${button}: "${sentence}" not in "${text}"`);
    assert.equal(await app.page.evaluate(() => document.activeElement.textContent), 'Cancel');  // the safe choice first
    await app.page.click('.dialog button[data-value="cancel"]');
    assert.equal(await app.dialog().count(), 0);
  }
  const sent = (await app.requests()).map((r) => r.func);
  for (const [, , func] of QUESTIONS) assert.ok(!sent.includes(func), `${func} was sent`);
});

test('Escape cancels; confirming sends the command', async () => {
  const app = await open({ language: 'en' });
  const button = '#vm-clones tr[data-id="3"] [data-action="delete"]';
  await app.page.click(button);
  await app.page.keyboard.press('Escape');
  assert.equal(await app.dialog().count(), 0);
  assert.equal((await app.requests('Vm_Delete')).length, 0);
  const request = await app.expectRequest('Vm_Delete', async () => {
    await app.page.click(button);
    await app.page.click('.dialog button[data-value="confirm"]');
  });
  assert.deepEqual(request.data, { VmxId: 3, type: 1 });
});

test('the question is asked in Chinese too', async () => {
  const app = await open();
  await app.page.click('#vm-clones tr[data-id="3"] [data-action="delete"]');
  assert.match(await app.dialog().textContent(), /从磁盘删除克隆 3（web3）及其文件夹 D:\\clones\\3\\？/);
});

test('a VirtualBox clone whose state was never read warns that only its list entry goes', async () => {
  const app = await open({ language: 'en' });
  await app.showTab('vbox');
  await app.page.evaluate(() => window.__native.setReply('getStatusVBoxlist', {
    code: 200, msg: 'success',
    data: { Rsultvboxlist: JSON.stringify({ code: 200, data: [{ id: 0, snapshot: 0, name: 'vb0', uuid: 'dbug', path: 'dbug', state: 'dbug', belongTo: 'master' }] }) },
  }));
  await app.page.click('#vb-refresh');
  await app.idle();
  await app.page.click('#vb-clones tr[data-id="0"] [data-action="delete"]');
  const text = await app.dialog().textContent();
  assert.match(text, /delete its files \(location not known yet\) from disk\?/);
  assert.match(text, /only its list entry goes/);
});
