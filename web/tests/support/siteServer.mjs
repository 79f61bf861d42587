// @ts-check
// A tiny static server for the built site on 127.0.0.1, answering the way the program's archive
// provider does: "/" is index.html, every other path names a file of the site exactly, MIME
// types by lower-cased extension, anything else not found. The page font, which the native
// packing adds to the archive, is served from Debian's IBM Plex Sans Thai when it is there.
import { createServer } from "node:http";
import { existsSync } from "node:fs";
import { readFile, stat } from "node:fs/promises";
import path from "node:path";
import { fileURLToPath } from "node:url";

const webDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");

export const FONT_PATH = "/SFThonburi-Regular.ttf";
export const fontFile =
  process.env.QUENTARO_FONT_FILE ||
  path.resolve(webDir, "../.deps/fonts-ibm-plex/usr/share/fonts/truetype/ibm-plex/IBMPlexSansThai-Regular.ttf");
export const fontAvailable = existsSync(fontFile);

/** @type {Record<string, string>} */
const MIME_TYPES = {
  htm: "text/html",
  html: "text/html",
  txt: "text/plain",
  jpg: "image/jpeg",
  jpeg: "image/jpeg",
  svg: "image/svg+xml",
  ico: "image/vnd.microsoft.icon",
  json: "application/json",
  png: "image/png",
  css: "text/css",
  map: "application/json",
  js: "text/javascript",
  mjs: "text/javascript",
  woff2: "font/woff2",
  ttf: "font/ttf",
};

/** @param {string} name */
function mimeTypeOf(name) {
  const dot = name.lastIndexOf(".");
  return MIME_TYPES[name.slice(dot + 1).toLowerCase()] ?? "application/octet-stream";
}

/**
 * @param {string} siteDir absolute directory of the built site
 * @returns {Promise<{ url: string, requests: string[], close: () => Promise<void> }>}
 */
export async function startSiteServer(siteDir) {
  const root = path.resolve(siteDir);
  /** @type {string[]} */
  const requests = [];

  const server = createServer(async (req, res) => {
    const urlPath = (req.url ?? "/").split("?")[0];
    requests.push(urlPath);
    const name = urlPath === "/" ? "index.html" : urlPath.slice(1);

    let file = path.resolve(root, name);
    if (urlPath === FONT_PATH && !existsSync(file)) file = fontFile;
    const inside = file === fontFile || file.startsWith(root + path.sep);

    try {
      if (!inside || !(await stat(file)).isFile()) throw new Error("not a file");
      const body = await readFile(file);
      res.writeHead(200, { "Content-Type": mimeTypeOf(name), "Cache-Control": "no-store" });
      res.end(body);
    } catch {
      res.writeHead(404, { "Content-Type": "text/plain" });
      res.end("not found");
    }
  });

  await new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(0, "127.0.0.1", () => resolve(undefined));
  });
  const address = server.address();
  if (!address || typeof address === "string") throw new Error("server has no port");

  return {
    url: `http://127.0.0.1:${address.port}/`,
    requests,
    close: () =>
      new Promise((resolve) => {
        server.closeAllConnections();
        server.close(() => resolve());
      }),
  };
}
