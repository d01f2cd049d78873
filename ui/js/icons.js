// Inline icons (16 x 16, drawn with the current text colour), so the page needs
// no image or font files.

const PATHS = {
  play: '<path d="M5 3.5v9l7.5-4.5z" fill="currentColor" stroke="none"/>',
  pause: '<path d="M5.5 3.5v9M10.5 3.5v9"/>',
  suspend: '<path d="M4 12.5h8"/><path d="M5.5 3.5v6M10.5 3.5v6"/>',
  resume: '<path d="M4 3.5v9"/><path d="M7 3.5v9l6-4.5z" fill="currentColor" stroke="none"/>',
  reset: '<path d="M3.5 8a4.5 4.5 0 1 0 1.4-3.3"/><path d="M3.5 2.5v3h3"/>',
  stop: '<rect x="4" y="4" width="8" height="8" rx="1.2" fill="currentColor" stroke="none"/>',
  power: '<path d="M8 2.5v5"/><path d="M5 4.3a4.8 4.8 0 1 0 6 0"/>',
  trash: '<path d="M3 4.5h10M6.5 4.5V3h3v1.5M4.5 4.5l.6 8.5h5.8l.6-8.5"/><path d="M7 7v4M9 7v4"/>',
  refresh: '<path d="M13 8a5 5 0 1 1-1.5-3.6"/><path d="M12.5 1.8v3h-3"/>',
  folder: '<path d="M2 4.5a1 1 0 0 1 1-1h3l1.5 1.5H13a1 1 0 0 1 1 1V12a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1z"/>',
  file: '<path d="M4 2h5l3 3v9H4z"/><path d="M9 2v3h3"/>',
  clone: '<rect x="5.5" y="5.5" width="8" height="8" rx="1.5"/><path d="M3.5 10.5h-.5a1 1 0 0 1-1-1V3a1 1 0 0 1 1-1h6.5a1 1 0 0 1 1 1v.5"/>',
  save: '<path d="M3 3h8l2 2v8H3z"/><path d="M5.5 3v3h4V3M5.5 13V9.5h5V13"/>',
  minimize: '<path d="M3.5 8h9"/>',
  tray: '<path d="M2.5 9.5v3h11v-3"/><path d="M8 2.5v7M5 6.5l3 3 3-3"/>',
  close: '<path d="M4 4l8 8M12 4l-8 8"/>',
  help: '<circle cx="8" cy="8" r="6"/><path d="M6.3 6.2a1.8 1.8 0 1 1 2.4 1.7c-.5.2-.7.6-.7 1.1v.3"/><circle cx="8" cy="11.4" r=".4" fill="currentColor"/>',
  check: '<path d="M3.5 8.5l3 3 6-7"/>',
  alert: '<path d="M8 2l6.5 11.5h-13z"/><path d="M8 6.5v3.2"/><circle cx="8" cy="11.7" r=".4" fill="currentColor"/>',
  info: '<circle cx="8" cy="8" r="6"/><path d="M8 7.2v4"/><circle cx="8" cy="4.9" r=".4" fill="currentColor"/>',
  chevron: '<path d="M5 6.5l3 3 3-3"/>',
  link: '<path d="M9 3h4v4M13 3L7.5 8.5"/><path d="M11.5 9.5V13h-8V5h3.5"/>',
};

export function icon(name, className = 'icon') {
  const span = document.createElement('span');
  span.className = className;
  span.setAttribute('aria-hidden', 'true');
  span.innerHTML = `<svg viewBox="0 0 16 16" width="16" height="16" fill="none" stroke="currentColor" stroke-width="1.5" stroke-linecap="round" stroke-linejoin="round">${PATHS[name] ?? ''}</svg>`;
  return span;
}
