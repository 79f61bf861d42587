// A scroll area with the platform's scroll bars hidden and a thin overlay bar in their place,
// shown while the pointer is over the area and hidden 600 ms after it leaves.

const HIDE_DELAY_MS = 600;
const MIN_THUMB_PX = 18;

export interface ScrollArea {
  root: HTMLElement;
  viewport: HTMLElement;
  /** Re-measures the thumb; call after the content changed size. */
  update(): void;
}

export function createScrollArea(content: HTMLElement): ScrollArea {
  const root = document.createElement("div");
  root.className = "show-scroll-area";

  const viewport = document.createElement("div");
  viewport.className = "show-scroll-area-viewport";
  viewport.setAttribute("data-slot", "scroll-area-viewport");
  viewport.appendChild(content);

  const bar = document.createElement("div");
  bar.className = "show-scroll-area-bar";
  bar.setAttribute("data-slot", "scroll-area-scrollbar");
  const thumb = document.createElement("div");
  thumb.className = "show-scroll-area-thumb";
  bar.appendChild(thumb);

  root.append(viewport, bar);

  let hideTimer: number | undefined;
  let lastThumb = "";

  const update = () => {
    const { scrollHeight, clientHeight, scrollTop } = viewport;
    const trackHeight = bar.clientHeight - 2;
    const scrollable = scrollHeight > clientHeight + 1 && trackHeight > 0;
    const height = scrollable ? Math.max(MIN_THUMB_PX, (trackHeight * clientHeight) / scrollHeight) : 0;
    const range = scrollHeight - clientHeight;
    const offset = scrollable && range > 0 ? ((trackHeight - height) * scrollTop) / range : 0;
    const key = `${scrollable}:${height.toFixed(1)}:${offset.toFixed(1)}`;
    if (key === lastThumb) return;
    lastThumb = key;
    bar.classList.toggle("is-scrollable", scrollable);
    thumb.style.height = `${height}px`;
    thumb.style.transform = `translateY(${offset}px)`;
  };

  viewport.addEventListener("scroll", update, { passive: true });
  root.addEventListener("pointerenter", () => {
    window.clearTimeout(hideTimer);
    root.classList.add("is-hovered");
    update();
  });
  root.addEventListener("pointerleave", () => {
    window.clearTimeout(hideTimer);
    hideTimer = window.setTimeout(() => root.classList.remove("is-hovered"), HIDE_DELAY_MS);
  });

  // Dragging the thumb scrolls in proportion; a press on the track jumps there.
  thumb.addEventListener("pointerdown", (event) => {
    event.preventDefault();
    event.stopPropagation();
    const startY = event.clientY;
    const startScroll = viewport.scrollTop;
    const ratio = viewport.scrollHeight / Math.max(1, bar.clientHeight);
    thumb.setPointerCapture(event.pointerId);
    const move = (e: PointerEvent) => {
      viewport.scrollTop = startScroll + (e.clientY - startY) * ratio;
    };
    const end = () => {
      thumb.removeEventListener("pointermove", move);
      thumb.removeEventListener("pointerup", end);
      thumb.removeEventListener("pointercancel", end);
    };
    thumb.addEventListener("pointermove", move);
    thumb.addEventListener("pointerup", end);
    thumb.addEventListener("pointercancel", end);
  });
  bar.addEventListener("pointerdown", (event) => {
    if (event.target !== bar) return;
    event.preventDefault();
    const rect = bar.getBoundingClientRect();
    const fraction = (event.clientY - rect.top) / Math.max(1, rect.height);
    viewport.scrollTop = fraction * viewport.scrollHeight - viewport.clientHeight / 2;
  });

  if (typeof ResizeObserver === "function") {
    const observer = new ResizeObserver(update);
    observer.observe(viewport);
    observer.observe(content);
  }

  return { root, viewport, update };
}
