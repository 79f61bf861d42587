// Inline line icons on a 24 × 24 view box, stroked in the current text colour.

const SVG_NS = "http://www.w3.org/2000/svg";

export const CHEVRON_RIGHT = ["m9 18 6-6-6-6"];
export const CHEVRON_DOWN = ["m6 9 6 6 6-6"];
export const PLAY = [
  "M5 5a2 2 0 0 1 3.008-1.728l11.997 6.998a2 2 0 0 1 .003 3.458l-12 7A2 2 0 0 1 5 19z",
];
export const REPEAT = [
  "m17 2 4 4-4 4",
  "M3 11v-1a4 4 0 0 1 4-4h14",
  "m7 22-4-4 4-4",
  "M21 13v1a4 4 0 0 1-4 4H3",
];

export function createIcon(paths: readonly string[], size: number): SVGSVGElement {
  const svg = document.createElementNS(SVG_NS, "svg");
  svg.setAttribute("viewBox", "0 0 24 24");
  svg.setAttribute("width", String(size));
  svg.setAttribute("height", String(size));
  svg.setAttribute("fill", "none");
  svg.setAttribute("stroke", "currentColor");
  svg.setAttribute("stroke-width", "2");
  svg.setAttribute("stroke-linecap", "round");
  svg.setAttribute("stroke-linejoin", "round");
  svg.setAttribute("aria-hidden", "true");
  for (const d of paths) {
    const path = document.createElementNS(SVG_NS, "path");
    path.setAttribute("d", d);
    svg.appendChild(path);
  }
  return svg;
}

/** Redraws a one-path icon (the expand chevron) in place. */
export function setIconPath(svg: SVGSVGElement, d: string): void {
  const path = svg.firstElementChild;
  if (path && path.getAttribute("d") !== d) path.setAttribute("d", d);
}
