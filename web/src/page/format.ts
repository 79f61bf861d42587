/**
 * A marker time, from seconds, as hours:minutes:seconds:milliseconds. Hours, minutes and
 * seconds have at least two digits, milliseconds three; hours do not wrap at 24.
 */
export function formatMarkerTime(position: number): string {
  const seconds = Number.isFinite(position) ? position : 0;
  const totalMs = Math.round(1000 * Math.abs(seconds));
  const hours = Math.floor(totalMs / 3_600_000);
  const minutes = Math.floor((totalMs % 3_600_000) / 60_000);
  const secs = Math.floor((totalMs % 60_000) / 1000);
  const ms = totalMs % 1000;
  const two = (n: number) => String(n).padStart(2, "0");
  const sign = seconds < 0 && totalMs > 0 ? "-" : "";
  return `${sign}${two(hours)}:${two(minutes)}:${two(secs)}:${String(ms).padStart(3, "0")}`;
}
