// The whole program end to end: tarnwick.exe under Wine with its own browser,
// the real page (ui/) and the stand-in hypervisors. The test works the page
// through the browser's debugging port the way a user works the form, and
// reads what the page then shows.
//
// Needs an X display (scripts/test starts one) and the build (TARNWICK_BUILD,
// default build/). Uses the build's Wine prefix without touching its registry.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { startProgram, waitFor, windowsPath } from '../../tools/demo/program-session.mjs';

let session;   // the running program; its folder holds tarnwick.exe, the stand-ins, masters and settings
let folder;
let page;

// [id, name, state] of the table's rows.
function rows(tableId) {
  return page.$$eval(`#${tableId} tbody tr[data-id]`, (trs) =>
    trs.map((tr) => [tr.dataset.id, tr.cells[1].innerText.trim().split(/\s+/)[0], tr.cells[3].innerText.trim()]));
}

async function waitForRows(tableId, expected) {
  await waitFor(`${tableId} to show ${JSON.stringify(expected)}`, async () => {
    const shown = await rows(tableId);
    return shown.length === expected.length &&
           shown.every((row, i) => row[0] === expected[i][0] && row[1] === expected[i][1] && row[2].startsWith(expected[i][2]));
  });
}

const idle = () => page.waitForSelector('#busy-status[data-busy="false"]', { timeout: 60000 });

before(async () => {
  session = await startProgram({ build: process.env.TARNWICK_BUILD });
  ({ folder, page } = session);
  if (await page.textContent('#btn-lang') === 'EN') await page.click('#btn-lang');   // the texts below are English
});

after(async () => {
  await session?.close();
});

test('VMware: save the settings, clone 3, start clone 1', async () => {
  await page.fill('#vm-InstallationPath', `"${windowsPath(path.join(folder, 'VMware Workstation'))}\\vmrun.exe"`);
  await page.fill('#vm-MasterPath', windowsPath(path.join(folder, 'Masters/Demo/Demo.vmx')));
  await page.fill('#vm-StoragePath', windowsPath(path.join(folder, 'Clones/VMware')));
  await page.fill('#vm-NamePrefix', 'e2e');
  await page.fill('#vm-CloneNumber', '3');
  await page.fill('#vm-StartIntervalTime', '0');
  await page.click('#vm-settings button[type="submit"]');
  await page.waitForSelector('#vm-settings .save-state[data-state="saved"]');
  const saved = JSON.parse(readFileSync(path.join(folder, 'VMwarePrefs.json'), 'utf8')).Prefs[0];
  assert.equal(saved.StoragePath, `${windowsPath(path.join(folder, 'Clones/VMware'))}\\`);

  await page.fill('#vm-clone-count', '3');
  await page.click('#vm-clone');
  await waitForRows('vm-clones', [['0', 'e2e0', 'Not running'], ['1', 'e2e1', 'Not running'], ['2', 'e2e2', 'Not running']]);
  await idle();

  await page.click('#vm-clones tr[data-id="1"] [data-action="start"]');
  await waitForRows('vm-clones', [['0', 'e2e0', 'Not running'], ['1', 'e2e1', 'Running'], ['2', 'e2e2', 'Not running']]);
  await idle();
});

test('VirtualBox: save the settings, clone 2, refresh the states, start all', async () => {
  await page.click('#tab-vbox');
  await page.fill('#vb-InstallationPath', `"${windowsPath(path.join(folder, 'VirtualBox'))}\\VBoxManage.exe"`);
  await page.fill('#vb-StoragePath', windowsPath(path.join(folder, 'Clones/VirtualBox')) + '\\');
  await page.fill('#vb-NamePrefix', 'vbe2e');
  await page.fill('#vb-StartIntervalTime', '0');
  await page.click('#vb-settings button[type="submit"]');
  // Saving reads the masters the saved tool knows; the demo master is one.
  await page.waitForSelector('#vb-MasterName option[value="Demo master"]', { state: 'attached' });
  await page.selectOption('#vb-MasterName', 'Demo master');
  await page.click('#vb-settings button[type="submit"]');
  await page.waitForSelector('#vb-settings .save-state[data-state="saved"]');
  await idle();

  await page.fill('#vb-clone-count', '2');
  await page.click('#vb-clone');
  await waitForRows('vb-clones', [['0', 'vbe2e0', ''], ['1', 'vbe2e1', '']]);
  await idle();
  await page.click('#vb-refresh');
  await waitForRows('vb-clones', [['0', 'vbe2e0', 'Powered off'], ['1', 'vbe2e1', 'Powered off']]);
  await idle();

  await page.click('#vb-all-start');
  await waitForRows('vb-clones', [['0', 'vbe2e0', 'Running'], ['1', 'vbe2e1', 'Running']]);
});

test('quitting from the title bar, after the confirmation, ends the program', async () => {
  await page.click('#btn-quit');
  await page.locator('.dialog .btn-danger').click();
  assert.equal(await session.ended(30000), 0);
});
