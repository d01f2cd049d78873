// One Chromium and one page server per test file; every test opens the page in
// a fresh browser context with the native stand-in installed.
import { before, after } from 'node:test';
import { chromium } from 'playwright-core';
import { startServer } from './static-server.mjs';
import { installNativeMock, DISPATCHER_REPLIES } from './native-mock.mjs';

const CHROMIUM_FLAGS = [
  '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

// Registers the file's before/after hooks and returns open(), which loads the page.
export function usePage() {
  let browser;
  let server;
  const contexts = [];

  before(async () => {
    server = await startServer();
    // launch() gives the browser a new temporary profile and removes it on close.
    browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_FLAGS });
  });
  after(async () => {
    await browser?.close();
    await server?.close();
  });

  // options: replies (answers replacing the dispatcher's defaults), native
  // (false: no js_api_cross_call at all), language ('en' to start in English),
  // ready (false: do not wait for the start-up requests to be answered).
  async function open({ replies = {}, native = true, language, ready = true } = {}) {
    const context = await browser.newContext({ viewport: { width: 1400, height: 720 }, deviceScaleFactor: 1, reducedMotion: 'reduce' });
    contexts.push(context);
    context.setDefaultTimeout(10000);
    const page = await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(String(error)));
    page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
    const foreign = [];
    page.on('request', (request) => { if (!request.url().startsWith(server.origin)) foreign.push(request.url()); });
    if (language) await page.addInitScript((value) => localStorage.setItem('tarnwick.language', value), language);
    if (native) await page.addInitScript(installNativeMock, { replies: { ...DISPATCHER_REPLIES, ...replies } });
    await page.goto(`${server.origin}/index.html`);
    if (ready) await page.waitForSelector('body[data-ready="true"]');
    return new PageDriver(page, problems, foreign);
  }

  after(async () => { for (const context of contexts) await context.close().catch(() => {}); });

  return { open };
}

export class PageDriver {
  constructor(page, problems, foreign) {
    this.page = page;
    this.problems = problems;   // script errors seen in the page
    this.foreign = foreign;     // requests to anything but the page server
  }

  requests(func) {
    return this.page.evaluate((name) => window.__native.requests.filter((r) => !name || r.func === name), func);
  }

  // The next request of `func` after those already seen (count = how many were seen).
  async nextRequest(func, count) {
    await this.page.waitForFunction(([name, seen]) => window.__native.requests.filter((r) => r.func === name).length > seen, [func, count]);
    return (await this.requests(func))[count];
  }

  // Runs action and returns the request of `func` it caused.
  async expectRequest(func, action) {
    const seen = (await this.requests(func)).length;
    await action();
    return this.nextRequest(func, seen);
  }

  setReply(func, plan) {
    return this.page.evaluate(([name, value]) => window.__native.setReply(name, value), [func, plan]);
  }

  release(func) {
    return this.page.evaluate((name) => window.__native.release(name), func);
  }

  async showTab(which) {
    await this.page.click(which === 'vbox' ? '#tab-vbox' : '#tab-vmware');
  }

  // Waits until no command is waiting for its reply.
  idle() {
    return this.page.waitForSelector('#busy-status[data-busy="false"]');
  }

  dialog() {
    return this.page.locator('.dialog');
  }

  toasts() {
    return this.page.locator('#toasts .toast');
  }
}
