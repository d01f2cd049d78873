// Page -> native -> page round trip through the real program: tarnwick.exe
// under Wine shows its page, and the page calls js_api_cross_call with
// "desktop_size" 1,000 times in a chain, timing each call from the call to
// its reply (performance.now() in the page). Prints one table row.
//
//   node bench/program_roundtrip_bench.mjs      (scripts/bench runs it; needs a display)
import { startProgram } from '../tools/demo/program-session.mjs';

const CALLS = 1000;

const session = await startProgram({ build: process.env.TARNWICK_BUILD });
try {
  const times = await session.page.evaluate(async (calls) => {
    const request = JSON.stringify({ func: 'desktop_size', tag: 1 });
    const call = () => new Promise((resolve) => js_api_cross_call(request, resolve));
    for (let i = 0; i < 20; ++i) await call();   // warm-up
    const measured = [];
    for (let i = 0; i < calls; ++i) {
      const start = performance.now();
      await call();
      measured.push(performance.now() - start);
    }
    return measured;
  }, CALLS);
  times.sort((a, b) => a - b);
  const at = (q) => times[Math.min(times.length - 1, Math.floor(q * times.length))];
  console.log(`| "desktop_size" round trip, page to tarnwick.exe to page, ${CALLS} calls | median at most 1 ms | ` +
              `median ${at(0.5).toFixed(2)} ms, 95th percentile ${at(0.95).toFixed(2)} ms, max ${times.at(-1).toFixed(2)} ms |`);
} finally {
  await session.close();
}
