// Serves the browser build of the game (and, for the tests, files beside
// it) on this machine only.
//
//   node tools/web-serve.mjs [--port N] ROOT [ROOT...]
//
// GET and HEAD only, on 127.0.0.1. A path is looked up in each ROOT in turn
// and the first that has it wins, so a test can put its own demos beside the
// site. Port 0 (the default) takes any free port; once listening, one line
// says where: "serving ROOT on http://127.0.0.1:PORT/".
import { createServer } from 'node:http';
import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import { resolve, sep, extname, join } from 'node:path';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.json': 'application/json',
    '.txt': 'text/plain; charset=utf-8',
    '.wasm': 'application/wasm',
    '.data': 'application/octet-stream',
    '.demo': 'application/octet-stream',
    '.png': 'image/png',
    '.jpg': 'image/jpeg',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
};

function usage(message) {
    if (message) console.error(`web-serve: ${message}`);
    console.error('usage: node tools/web-serve.mjs [--port N] ROOT [ROOT...]');
    process.exit(2);
}

let port = 0;
const roots = [];
const args = process.argv.slice(2);
for (let i = 0; i < args.length; ++i) {
    if (args[i] === '--port') {
        const value = args[++i];
        if (!/^\d+$/.test(value ?? '') || Number(value) > 65535) usage(`--port wants a number from 0 to 65535, not ${value}`);
        port = Number(value);
    } else if (args[i].startsWith('-')) {
        usage(`unknown option ${args[i]}`);
    } else {
        roots.push(resolve(args[i]));
    }
}
if (roots.length === 0) usage();
for (const root of roots) {
    const info = await stat(root).catch(() => null);
    if (!info?.isDirectory()) usage(`${root} is not a directory`);
}

// The file a request names in ROOT, or null when the name is not one we
// serve: anything that climbs out with "..", a NUL, or a bad escape.
function inRoot(root, pathname) {
    let name;
    try {
        name = decodeURIComponent(pathname);
    } catch {
        return null;
    }
    if (name.includes('\0') || name.split('/').includes('..')) return null;
    const file = resolve(root, '.' + name);
    if (file !== root && !file.startsWith(root + sep)) return null;
    return name.endsWith('/') ? join(file, 'index.html') : file;
}

// The first ROOT holding the file, with its size; a directory named
// without its trailing slash is sent there, as the page's relative
// addresses need it.
async function find(pathname) {
    for (const root of roots) {
        const file = inRoot(root, pathname);
        if (file === null) return { refused: true };
        const info = await stat(file).catch(() => null);
        if (info?.isFile()) return { file, size: info.size };
        if (info?.isDirectory()) return { redirect: pathname + '/' };
    }
    return {};
}

const server = createServer(async (request, response) => {
    const send = (code, text, headers = {}) => {
        response.writeHead(code, { 'Content-Type': 'text/plain; charset=utf-8', ...headers });
        response.end(request.method === 'HEAD' ? undefined : text + '\n');
    };
    if (request.method !== 'GET' && request.method !== 'HEAD') return send(405, 'GET or HEAD only', { Allow: 'GET, HEAD' });
    const url = new URL(request.url, 'http://127.0.0.1');
    const found = await find(url.pathname);
    if (found.refused) return send(403, 'outside the served directories');
    if (found.redirect) return send(301, 'moved', { Location: found.redirect + url.search });
    if (!found.file) return send(404, `${url.pathname} is not here`);
    response.writeHead(200, {
        'Content-Type': types[extname(found.file).toLowerCase()] ?? 'application/octet-stream',
        'Content-Length': found.size,
        // A build made again is picked up by the next load of the page.
        'Cache-Control': 'no-cache',
    });
    if (request.method === 'HEAD') return response.end();
    const stream = createReadStream(found.file);
    stream.on('error', () => response.destroy());
    stream.pipe(response);
});

server.on('error', (error) => {
    console.error(`web-serve: cannot serve on 127.0.0.1:${port}: ${error.message}`);
    process.exit(1);
});
server.listen(port, '127.0.0.1', () => {
    console.log(`serving ${roots.join(' ')} on http://127.0.0.1:${server.address().port}/`);
});
