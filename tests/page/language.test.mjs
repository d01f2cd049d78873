// Chinese by default; one button switches every text to English and back.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { usePage } from './support/harness.mjs';

const { open } = usePage();

// [element, text in Chinese, text in English]
const SAMPLES = [
  ['#vm-settings button[type="submit"]', '保存设置', 'Save settings'],
  ['#vm-clone', '开始克隆', 'Make clones'],
  ['#vm-clones thead th.col-state', '状态', 'State'],
  ['#vm-clones tr[data-id="0"] .badge', '运行中', 'Running'],
  ['#vm-all-suspend', '挂起', 'Suspend'],
  ['#busy-status', '就绪', 'Ready'],
];

async function texts(page) {
  const shown = [];
  for (const [selector] of SAMPLES) shown.push((await page.textContent(selector)).trim());
  shown.push(await page.getAttribute('#vm-clones tr[data-id="1"] [data-action="start"]', 'aria-label'));
  shown.push(await page.getAttribute('#btn-quit', 'title'));
  return shown;
}

test('the page starts in Chinese and the switch turns every text to English and back', async () => {
  const app = await open();
  const { page } = app;
  const chinese = [...SAMPLES.map(([, zh]) => zh), '启动：web1', '退出 Tarnwick'];
  const english = [...SAMPLES.map(([, , en]) => en), 'Start web1', 'Quit Tarnwick'];

  assert.equal(await page.getAttribute('html', 'lang'), 'zh-CN');
  assert.deepEqual(await texts(page), chinese);
  await page.click('#btn-lang');
  assert.equal(await page.getAttribute('html', 'lang'), 'en');
  assert.deepEqual(await texts(page), english);
  await page.click('#btn-lang');
  assert.deepEqual(await texts(page), chinese);
});

test('the chosen language is kept when the page is opened again', async () => {
  const app = await open();
  await app.page.click('#btn-lang');
  await app.page.reload();
  await app.page.waitForSelector('body[data-ready="true"]');
  assert.equal(await app.page.getAttribute('html', 'lang'), 'en');
});

test('both languages have the same texts, and every {argument} of one is in the other', async () => {
  const app = await open({ ready: false });
  const { zh, en } = await app.page.evaluate(async () => {
    const { TEXTS } = await import('./js/texts.js');
    return { zh: TEXTS['zh-CN'], en: TEXTS.en };
  });
  assert.deepEqual(Object.keys(zh).sort(), Object.keys(en).sort());
  const args = (text) => (text.match(/\{\w+\}/g) ?? []).sort();
  for (const key of Object.keys(zh)) assert.deepEqual(args(zh[key]), args(en[key]), key);
});
