// The two tabs in the title bar: click, or arrow keys / Home / End on a tab
// (the selected tab is the one in the tab order).

export function setUpTabs({ tablist, onSelect }) {
  const tabs = [...tablist.querySelectorAll('[role="tab"]')];

  function select(tab, { focus = false } = {}) {
    for (const other of tabs) {
      const selected = other === tab;
      other.setAttribute('aria-selected', String(selected));
      other.tabIndex = selected ? 0 : -1;
      document.getElementById(other.getAttribute('aria-controls')).hidden = !selected;
    }
    if (focus) tab.focus();
    onSelect?.(tab.id);
  }

  tablist.addEventListener('click', (event) => {
    const tab = event.target.closest('[role="tab"]');
    if (tab) select(tab);
  });
  tablist.addEventListener('keydown', (event) => {
    const index = tabs.indexOf(document.activeElement);
    if (index < 0) return;
    const next = { ArrowRight: index + 1, ArrowLeft: index - 1, Home: 0, End: tabs.length - 1 }[event.key];
    if (next === undefined) return;
    event.preventDefault();
    select(tabs[(next + tabs.length) % tabs.length], { focus: true });
  });

  return {
    selectIndex: (index) => select(tabs[index], { focus: true }),
    selectedIndex: () => tabs.findIndex((tab) => tab.getAttribute('aria-selected') === 'true'),
  };
}
