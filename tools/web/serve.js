#!/usr/bin/env node
// A static file server for the web version on 127.0.0.1 only: the files of one folder, with the
// types a browser insists on for WebAssembly, and nothing cached, so a rebuilt game is what the
// next reload gets.
//   node tools/web/serve.js FOLDER [PORT]     (PORT 8080 by default; 0 picks a free one)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
};

// Resolves to { server, port, url(name) } once it listens.
function startServer(folder, port = 8080) {
  const root = path.resolve(folder);
  const server = http.createServer((req, res) => {
    let name;
    try {
      name = decodeURIComponent(new URL(req.url, 'http://127.0.0.1').pathname);
    } catch {
      res.writeHead(400).end();
      return;
    }
    const file = path.join(root, path.normalize(name));
    // Nothing outside the folder, however the request spells its path.
    if (file !== root && !file.startsWith(root + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    fs.stat(file, (err, st) => {
      if (err || !st.isFile()) {
        res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
        return;
      }
      res.writeHead(200, {
        'Content-Type': types[path.extname(file)] || 'application/octet-stream',
        'Content-Length': st.size,
        'Cache-Control': 'no-store',
      });
      if (req.method === 'HEAD') res.end();
      else fs.createReadStream(file).pipe(res);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      const p = server.address().port;
      resolve({ server, port: p, url: (name) => `http://127.0.0.1:${p}/${name}` });
    });
  });
}

module.exports = { startServer };

if (require.main === module) {
  const folder = process.argv[2];
  if (!folder || !fs.existsSync(path.join(folder, 'meadowmark.html'))) {
    console.error('usage: node tools/web/serve.js FOLDER [PORT] (a folder with meadowmark.html: build it with tools/web/build.sh)');
    process.exit(2);
  }
  startServer(folder, Number(process.argv[3] || 8080)).then(({ url }) => {
    console.log(`Serving ${path.resolve(folder)}: open ${url('meadowmark.html')} (Ctrl+C stops)`);
  }, (err) => {
    console.error(`serve.js: ${err.message}`);
    process.exit(1);
  });
}
