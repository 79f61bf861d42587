// The rows' context menus: a small menu at the pointer, in a layer above the page. A press
// outside the menu closes it without reaching the page.

export type MenuEntry = { label: string; action: () => void } | "separator";

let openLayer: HTMLElement | null = null;

export function closeContextMenu(): void {
  openLayer?.remove();
  openLayer = null;
}

export function openContextMenu(x: number, y: number, entries: readonly MenuEntry[]): HTMLElement {
  closeContextMenu();

  const layer = document.createElement("div");
  layer.className = "show-table-context-layer";
  layer.addEventListener("pointerdown", (event) => {
    if (event.target === layer) {
      event.preventDefault();
      closeContextMenu();
    }
  });
  layer.addEventListener("contextmenu", (event) => {
    event.preventDefault();
    if (event.target === layer) closeContextMenu();
  });

  const menu = document.createElement("div");
  menu.className = "show-table-context";
  menu.setAttribute("role", "menu");

  for (const entry of entries) {
    if (entry === "separator") {
      const separator = document.createElement("div");
      separator.className = "show-table-context-separator";
      separator.setAttribute("role", "separator");
      menu.appendChild(separator);
      continue;
    }
    const item = document.createElement("div");
    item.className = "show-table-context-item";
    item.setAttribute("role", "menuitem");
    item.textContent = entry.label;
    item.addEventListener("click", (event) => {
      event.stopPropagation();
      closeContextMenu();
      entry.action();
    });
    menu.appendChild(item);
  }

  layer.appendChild(menu);
  document.body.appendChild(layer);
  openLayer = layer;

  // At the pointer, kept inside the window.
  const { width, height } = menu.getBoundingClientRect();
  const left = Math.max(0, Math.min(x, window.innerWidth - width));
  const top = Math.max(0, Math.min(y, window.innerHeight - height));
  menu.style.left = `${left}px`;
  menu.style.top = `${top}px`;
  return menu;
}
