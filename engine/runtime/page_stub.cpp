#include "engine/runtime/page_stub.h"

#include <nlohmann/json.hpp>

namespace {

// Arguments are described by kind, so the layer can tell int from double and
// keep functions: {"t":"function","h":3}, {"t":"number","v":1.5},
// {"t":"number","s":"NaN"} for numbers JSON cannot carry.
const char kStub[] = R"JS((() => {
  if (window.__tarnwick) return;
  const binding = window.__tarnwickBinding;
  const handles = new Map();
  let nextHandle = 1;
  const describe = (v) => {
    if (v === null) return { t: 'null' };
    switch (typeof v) {
      case 'undefined': return { t: 'undefined' };
      case 'boolean': return { t: 'bool', v };
      case 'number': return Number.isFinite(v) ? { t: 'number', v } : { t: 'number', s: String(v) };
      case 'string': return { t: 'string', v };
      case 'function': { const h = nextHandle++; handles.set(h, v); return { t: 'function', h }; }
      default: return { t: Array.isArray(v) ? 'array' : 'object' };
    }
  };
  const tarnwick = {
    define(name) {
      window[name] = function (...args) {
        binding(JSON.stringify({ k: 'call', f: name, a: args.map(describe) }));
      };
    },
    invoke(h, args) {
      const f = handles.get(h);
      if (f) f(...args);
    },
    release(h) { handles.delete(h); },
  };
  Object.defineProperty(window, '__tarnwick', { value: tarnwick });

  // The pointer's cursor, as the host has to draw it: "auto" resolved the way
  // the browser would for text fields and links.
  const editable = (el) => !!el && (el.isContentEditable ||
      (el.tagName === 'TEXTAREA') ||
      (el.tagName === 'INPUT' && !/^(button|submit|reset|checkbox|radio|range|color|file|image|hidden)$/i.test(el.type)));
  let lastCursor = '';
  document.addEventListener('mousemove', (e) => {
    const el = e.target instanceof Element ? e.target : null;
    let cursor = el ? getComputedStyle(el).cursor : 'default';
    if (cursor === 'auto') cursor = editable(el) ? 'text' : (el && el.closest('a[href]') ? 'pointer' : 'default');
    if (cursor !== lastCursor) {
      lastCursor = cursor;
      binding(JSON.stringify({ k: 'cursor', c: cursor }));
    }
  }, true);

  // Context menus are the host's to show.
  window.addEventListener('contextmenu', (e) => {
    if (e.defaultPrevented) return;
    e.preventDefault();
    const el = e.target instanceof Element ? e.target : null;
    binding(JSON.stringify({ k: 'contextmenu', x: e.clientX, y: e.clientY, editable: editable(el),
                             selection: String(getSelection() || '') !== '' }));
  });
})();
)JS";

}  // namespace

std::string PageStubSource(const std::vector<std::string>& functionNames) {
  std::string source = kStub;
  for (const std::string& name : functionNames) source += DefineFunctionSource(name);
  return source;
}

std::string DefineFunctionSource(const std::string& name) {
  return "window.__tarnwick && window.__tarnwick.define(" + nlohmann::json(name).dump() + ");\n";
}
