// The page's scripts and style sheets for the site, for scripts/web-site.mjs: web/src/main.js
// with every module it imports (the page's own and its npm packages') bundled by esbuild into
// page.js, and web/src/page.css with the style sheets it imports into page.css, both minified,
// each with its source map beside it. On a slow network each file is a round trip and comments
// and blanks are bytes, so the page comes as two files rather than thirty.
// The maps name their sources by their paths in the repository (web/src/main.js,
// web/node_modules/...) and hold their text, so that the site's bytes do not depend on where the
// repository lies.
import {createRequire} from "node:module";
import {join, relative} from "node:path";

// Resolves to {files, inputs}: files maps each output's path in the site to its bytes; inputs
// lists the paths (in the repository) of the sources that went in.
export async function bundlePage(root) {
  // esbuild is one of the page's npm packages (web/package.json), not the repository's.
  const {build} = createRequire(join(root, "web/package.json"))("esbuild");
  const result = await build({
    absWorkingDir: root,
    entryPoints: [{in: "web/src/main.js", out: "page"}, {in: "web/src/page.css", out: "page"}],
    bundle: true,
    format: "esm",
    minify: true,
    sourcemap: "linked",
    legalComments: "eof",
    charset: "utf8",
    // The outputs' folder is the repository's, so that the maps' paths are the repository's; they
    // are written into the site by the caller.
    outdir: root,
    write: false,
    metafile: true,
    logLevel: "warning",
  });
  const files = {};
  for (const output of result.outputFiles) files[relative(root, output.path)] = output.contents;
  return {files, inputs: Object.keys(result.metafile.inputs)};
}

// A classic script (the engine's worker script, emscripten's glue) minified as a script: its
// top-level names (Module, and what its .wasm imports) are globals, which esbuild keeps.
export function minifyScript(root, text) {
  const {transformSync} = createRequire(join(root, "web/package.json"))("esbuild");
  return transformSync(text, {minify: true, charset: "utf8", legalComments: "inline", logLevel: "warning"}).code;
}
