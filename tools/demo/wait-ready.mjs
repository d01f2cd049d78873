// node tools/demo/wait-ready.mjs PAGE_ADDRESS [timeout seconds]
//
// Waits until Tarnwick's browser (debugging port 2088) shows the page at
// PAGE_ADDRESS with its start-up replies in (body[data-ready="true"]) and its
// fonts loaded, then exits 0; exits 1 when that does not happen in time.
import { createRequire } from 'node:module';

const require = createRequire(new URL('../../tests/page/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const [address, timeoutText = '90'] = process.argv.slice(2);
const deadline = Date.now() + Number(timeoutText) * 1000;
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function pageShown() {
  const browser = await chromium.connectOverCDP('http://127.0.0.1:2088', { timeout: 5000 });
  try {
    for (const context of browser.contexts()) {
      for (const page of context.pages()) {
        if (!page.url().startsWith(address)) continue;
        const ready = await page.evaluate(async () => {
          if (document.body?.dataset.ready !== 'true') return false;
          await document.fonts.ready;
          return true;
        });
        if (ready) return true;
      }
    }
    return false;
  } finally {
    await browser.close().catch(() => {});   // only the connection: the browser stays
  }
}

while (Date.now() < deadline) {
  if (await pageShown().catch(() => false)) process.exit(0);
  await pause(500);
}
console.error(`wait-ready: ${address} did not become ready in ${timeoutText} s`);
process.exit(1);
