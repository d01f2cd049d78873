// The page's only way to the native program is js_api_cross_call(requestText,
// callback): the request is JSON {func, tag, data}, and the reply arrives later,
// through the callback, as JSON {code, data, func, msg, tag}. This module turns
// that into promises, keeps the requests still waiting for their reply (the
// page's busy state) and stops waiting for one that takes too long. It never
// throws: every outcome, failures included, is a result object
//   {ok, code, msg, data, func, tag, error}
// where error is null, 'timeout', 'unavailable' (no native function) or
// 'bad-reply' (a reply that is not a JSON object).

export function createBridge({ send, timeoutFor = () => 0, clock = () => Date.now() } = {}) {
  let nextTag = 1;
  const waiting = new Map();
  const changeListeners = new Set();
  const lateListeners = new Set();

  function announceChange() {
    const entries = [...waiting.values()];
    for (const listener of changeListeners) listener(entries);
  }

  function nativeFunction() {
    const fn = send ?? globalThis.js_api_cross_call;
    return typeof fn === 'function' ? fn : null;
  }

  // options.reply false: the request is sent without a callback (callback id 0),
  // for "close" with tray false, which ends the program before any reply.
  // options.meta is kept with the waiting entry (the caller's label for it).
  function call(func, data = {}, options = {}) {
    const tag = nextTag++;
    const text = JSON.stringify({ func, tag, data });
    const native = nativeFunction();
    if (!native) return Promise.resolve(failure(func, tag, 'unavailable'));
    if (options.reply === false) {
      try { native(text); } catch { return Promise.resolve(failure(func, tag, 'unavailable')); }
      return Promise.resolve({ ok: true, code: 0, msg: '', data: null, func, tag, error: null, noReply: true });
    }

    return new Promise((resolve) => {
      const timeoutMs = options.timeoutMs ?? timeoutFor(func);
      const entry = { tag, func, data, startedAt: clock(), meta: options.meta ?? {} };
      let state = 'waiting';  // then 'replied' or 'timed-out'
      let timer = null;

      const finish = (result) => {
        clearTimeout(timer);
        waiting.delete(tag);
        announceChange();
        resolve(result);
      };
      const onReply = (replyText) => {
        if (state === 'replied') return;  // one reply per request; a repeat means nothing
        const result = readReply(replyText, func, tag);
        if (state === 'timed-out') {
          state = 'replied';
          for (const listener of lateListeners) listener(result);
          return;
        }
        state = 'replied';
        finish(result);
      };

      waiting.set(tag, entry);
      announceChange();
      if (timeoutMs > 0) {
        timer = setTimeout(() => {
          if (state !== 'waiting') return;
          state = 'timed-out';
          finish({ ...failure(func, tag, 'timeout'), timeoutMs });
        }, timeoutMs);
      }
      try {
        native(text, onReply);
      } catch {
        state = 'replied';
        finish(failure(func, tag, 'unavailable'));
      }
    });
  }

  return {
    call,
    waiting: () => [...waiting.values()],
    onChange(listener) { changeListeners.add(listener); },
    // A reply that came after its request had timed out.
    onLateReply(listener) { lateListeners.add(listener); },
  };
}

function failure(func, tag, error) {
  return { ok: false, code: -1, msg: '', data: null, func, tag, error };
}

function readReply(text, func, tag) {
  let reply;
  try { reply = JSON.parse(text); } catch { reply = null; }
  if (!reply || typeof reply !== 'object' || Array.isArray(reply)) return failure(func, tag, 'bad-reply');
  const code = Number.isInteger(reply.code) ? reply.code : -1;
  const data = reply.data && typeof reply.data === 'object' && !Array.isArray(reply.data) ? reply.data : null;
  const msg = typeof reply.msg === 'string' ? reply.msg : '';
  return { ok: code === 200, code, msg, data, func, tag, error: null };
}
