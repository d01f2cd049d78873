// One run of the real program for Node.js scripts (the end-to-end test, the
// round-trip benchmark): a fresh program folder prepared by prepare-demo,
// ui/ served on the loopback, tarnwick.exe under Wine in the build's prefix
// with Debian's Chromium, and a DevTools connection to its page.
//
// Needs an X display. The build's registry is not touched.
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { startServer } from '../../tests/page/support/static-server.mjs';

const require = createRequire(new URL('../../tests/page/package.json', import.meta.url));
const { chromium } = require('playwright-core');

export const ROOT = fileURLToPath(new URL('../../', import.meta.url));
export const windowsPath = (unixPath) => `Z:${unixPath.replaceAll('/', '\\')}`;
const DEBUGGING_PORT = 2088;

// Polls check() until it gives something truthy; throws after timeoutMs.
export async function waitFor(what, check, timeoutMs = 60000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await check().catch(() => undefined);
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 250));
  }
}

// Whether something still accepts connections on the loopback port.
function listening(port) {
  return new Promise((resolve) => {
    const socket = connect({ host: '127.0.0.1', port });
    socket.once('connect', () => { socket.destroy(); resolve(true); });
    socket.once('error', () => resolve(false));
  });
}

// Removes the program folder once the browser has let go of it: the browser
// ends a moment after the program (its profile is in the folder) and must be
// gone before the next run takes the debugging port. Cleaning up never fails
// the caller; what could not be removed is reported.
async function removeWhenBrowserEnded(folder) {
  await waitFor('the browser to end', async () => !(await listening(DEBUGGING_PORT)), 30000)
    .catch((error) => console.warn(`program-session: ${error.message}`));
  try {
    rmSync(folder, { recursive: true, force: true, maxRetries: 20, retryDelay: 250 });
  } catch (error) {
    console.warn(`program-session: could not remove ${folder}: ${error.message}`);
  }
}

// Starts the program and resolves once its page has loaded and answered its
// start-up requests. `build` is the build folder (bin/, wine-run, wineprefix).
export async function startProgram({ build = path.join(ROOT, 'build'), locale = 'en_US.UTF-8' } = {}) {
  const folder = mkdtempSync(path.join(tmpdir(), 'tarnwick-run-'));
  const wine = { ...process.env, WINEPREFIX: path.join(build, 'wineprefix'), WINEDEBUG: '-all', LC_ALL: locale };
  execFileSync(path.join(ROOT, 'tools/demo/prepare-demo'), [build, folder], { env: wine, stdio: 'inherit' });
  const server = await startServer();
  const address = `${server.origin}/index.html`;
  const program = spawn(path.join(build, 'wine-run'), [path.join(folder, 'tarnwick.exe'), address], {
    cwd: folder,
    env: { ...wine, STANDIN_STATE: windowsPath(path.join(folder, 'standin-state')),
           TARNWICK_BROWSER: path.join(ROOT, 'tools/browser/chromium-under-wine') },
    stdio: 'ignore',
  });
  const exited = new Promise((resolve) => program.once('exit', (code) => resolve(code)));

  let browser;
  const session = {
    folder,
    page: null,
    // The program's exit code once it has ended; ended by force after timeoutMs.
    async ended(timeoutMs) {
      const timer = setTimeout(() => program.kill(), timeoutMs);
      const code = await exited;
      clearTimeout(timer);
      return code;
    },
    async close() {
      await browser?.close().catch(() => {});   // only the connection: the browser is the program's
      await session.ended(0);
      await server.close();
      await removeWhenBrowserEnded(folder);
    },
  };
  try {
    browser = await waitFor('the debugging port',
      () => chromium.connectOverCDP(`http://127.0.0.1:${DEBUGGING_PORT}`, { timeout: 5000 }));
    session.page = await waitFor('the page',
      async () => browser.contexts().flatMap((c) => c.pages()).find((p) => p.url().startsWith(address)));
    await session.page.waitForSelector('body[data-ready="true"]', { timeout: 60000 });
  } catch (error) {
    await session.close();
    throw error;
  }
  return session;
}
