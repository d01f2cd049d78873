// Small helpers to build elements, and the translated-text binding: an element
// built with t / tTitle / tAria / tPlaceholder keeps its text key (and
// arguments) in data attributes, so applyTexts can re-translate the whole page
// after a language switch.

const TEXT_BINDINGS = [
  // [property given to h(), data attribute, how the translated text is applied]
  ['t', 'data-t', (el, text) => { el.textContent = text; }],
  ['tTitle', 'data-t-title', (el, text) => { el.title = text; }],
  ['tAria', 'data-t-aria', (el, text) => { el.setAttribute('aria-label', text); }],
  ['tPlaceholder', 'data-t-placeholder', (el, text) => { el.placeholder = text; }],
];

export function h(tag, props = {}, ...children) {
  const el = document.createElement(tag);
  for (const [name, value] of Object.entries(props)) {
    if (value === undefined || value === null || value === false) continue;
    if (name === 'class') el.className = value;
    else if (name === 'text') el.textContent = value;
    else if (name === 'html') el.innerHTML = value;   // only for the page's own icon markup
    else if (name === 'on') for (const [event, fn] of Object.entries(value)) el.addEventListener(event, fn);
    else if (name === 'dataset') Object.assign(el.dataset, value);
    else if (name === 'tArgs') el.setAttribute('data-t-args', JSON.stringify(value));
    else if (TEXT_BINDINGS.some(([prop]) => prop === name)) el.setAttribute(TEXT_BINDINGS.find(([prop]) => prop === name)[1], value);
    else if (name in el && typeof value !== 'string') el[name] = value;
    else el.setAttribute(name, value === true ? '' : value);
  }
  append(el, children);
  return el;
}

function append(el, children) {
  for (const child of children.flat()) {
    if (child === null || child === undefined || child === false) continue;
    el.append(child instanceof Node ? child : String(child));
  }
}

// Re-binds an element to another text key (and arguments) and translates it now.
export function bindText(el, binding, key, args, t) {
  const attribute = TEXT_BINDINGS.find(([prop]) => prop === binding)[1];
  el.setAttribute(attribute, key);
  if (args) el.setAttribute('data-t-args', JSON.stringify(args));
  else el.removeAttribute('data-t-args');
  applyTexts(el, t);
}

export function applyTexts(root, t) {
  const elements = [root, ...root.querySelectorAll('[data-t], [data-t-title], [data-t-aria], [data-t-placeholder]')];
  for (const el of elements) {
    if (!(el instanceof Element)) continue;
    let args;
    for (const [, attribute, apply] of TEXT_BINDINGS) {
      const key = el.getAttribute(attribute);
      if (!key) continue;
      args ??= readArgs(el);
      apply(el, t(key, args));
    }
  }
}

function readArgs(el) {
  const text = el.getAttribute('data-t-args');
  if (!text) return {};
  try { return JSON.parse(text); } catch { return {}; }
}

export function clear(el) {
  while (el.firstChild) el.firstChild.remove();
  return el;
}
