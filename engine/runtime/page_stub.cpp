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
