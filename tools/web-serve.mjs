// Serves the browser build of the game (and, for the tests, files beside
// it) on this machine only.
//
//   node tools/web-serve.mjs [--port N] ROOT [ROOT...]
//
// GET and HEAD only, on 127.0.0.1. A path is looked up in each ROOT in turn
// and the first that has it wins, so a test can put its own demos beside the
// site. Port 0 (the default) takes any free port; once listening, one line
// says where: "serving ROOT on http://127.0.0.1:PORT/".
//
// Files go out compressed (br or gzip) when the browser takes it, as a host
// of the page would send them, and with validators, so that a reload asks
// and gets "304 Not Modified" for what has not been built again.
import { createServer } from 'node:http';
import { open, stat, realpath } from 'node:fs/promises';
import { resolve, sep, extname, join } from 'node:path';
import { pipeline } from 'node:stream';
import { promisify } from 'node:util';
import zlib from 'node:zlib';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.json': 'application/json',
    '.webmanifest': 'application/manifest+json',
    '.txt': 'text/plain; charset=utf-8',
    '.wasm': 'application/wasm',
    '.data': 'application/octet-stream',
    '.demo': 'application/octet-stream',
    '.png': 'image/png',
    '.jpg': 'image/jpeg',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
};

// Files compressed already, which compressing again only makes slower.
const packedTypes = new Set(['.png', '.jpg', '.jpeg', '.gif', '.webp', '.gz', '.br', '.zip', '.ogg', '.mp3', '.woff2']);
// Below this, a compressed answer saves less than its headers cost.
const smallestPacked = 1024;

// Gzip at its best; brotli at 8, as 9 and above take seconds for the game's
// code (11: 15 s) where 8 takes half of one, and the first load waits on it.
const coders = {
    br: {
        suffix: 'br',
        pack: promisify(zlib.brotliCompress),
        options: (size) => ({ params: {
            [zlib.constants.BROTLI_PARAM_QUALITY]: 8,
            [zlib.constants.BROTLI_PARAM_SIZE_HINT]: size,
        } }),
    },
    gzip: { suffix: 'gz', pack: promisify(zlib.gzip), options: () => ({ level: 9 }) },
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
// Where each root really is, links followed: what a link inside leads to is
// served only when it is in there too.
const realRoots = await Promise.all(roots.map((root) => realpath(root)));

const within = (file, dir) => file === dir || file.startsWith(dir.endsWith(sep) ? dir : dir + sep);

// The path and query a request names: "/path?query", or the absolute form
// "http://host/path?query"; null for anything else ("*", a bad address).
// The path is taken as it comes: "//a:99999/" is a path, not a host.
function requestTarget(raw) {
    if (raw.startsWith('/')) {
        const query = raw.indexOf('?');
        return query < 0 ? { pathname: raw, search: '' } : { pathname: raw.slice(0, query), search: raw.slice(query) };
    }
    if (!/^https?:\/\//i.test(raw)) return null;
    try {
        const url = new URL(raw);
        return { pathname: url.pathname, search: url.search };
    } catch {
        return null;
    }
}

// The file a request names, decoded, or the status that refuses it: 400 for
// a name no file has (a bad escape, a NUL), 403 for one that climbs out
// with "..".
function fileName(pathname) {
    let name;
    try {
        name = decodeURIComponent(pathname);
    } catch {
        return { status: 400, text: 'a bad escape in the path' };
    }
    if (name.includes('\0')) return { status: 400, text: 'a NUL in the path' };
    if (name.split('/').includes('..')) return { status: 403, text: 'outside the served directories' };
    return { name };
}

// The first ROOT holding the file, by its real path; a directory named
// without its trailing slash is sent there, as the page's relative
// addresses need it. A link that leads out of the root it is in is refused
// rather than passed over, so that a later root cannot answer for it.
async function find(name) {
    for (let i = 0; i < roots.length; ++i) {
        let path = resolve(roots[i], '.' + name);
        if (!within(path, roots[i])) return { refused: true };
        if (name.endsWith('/')) path = join(path, 'index.html');
        const info = await stat(path).catch(() => null);
        if (!info?.isFile() && !info?.isDirectory()) continue;
        const real = await realpath(path).catch(() => null);
        if (real === null) continue;
        if (!within(real, realRoots[i])) return { refused: true };
        if (info.isFile()) return { file: real };
        if (!name.endsWith('/')) return { redirect: true };
    }
    return {};
}

// The coding to send by the weights of the browser's Accept-Encoding: the
// heavier of br and gzip (br on a tie, being the smaller), unless the
// browser weighs "identity" above it; null when neither is taken.
function chooseCoding(header) {
    const weights = new Map();
    for (const part of (header ?? '').split(',')) {
        const [coding, ...parameters] = part.split(';').map((s) => s.trim().toLowerCase());
        if (!coding) continue;
        let weight = 1;
        for (const parameter of parameters) {
            const q = /^q\s*=\s*(\d+(?:\.\d*)?)$/.exec(parameter);
            if (q) weight = Math.min(Number(q[1]), 1);
            else if (/^q\s*=/.test(parameter)) weight = 0;  // a weight we cannot read takes nothing
        }
        weights.set(coding === 'x-gzip' ? 'gzip' : coding, weight);
    }
    const weight = (coding) => weights.get(coding) ?? weights.get('*') ?? 0;
    const best = weight('br') >= weight('gzip') ? 'br' : 'gzip';
    if (weight(best) === 0 || weight(best) < (weights.get('identity') ?? 0)) return null;
    return best;
}

// A file's compressed bytes, made once per version (size and time of
// change) and kept until the file changes; only the latest version of a
// file is kept. Null where compressing does not make the file smaller.
const kept = new Map();
class ChangedWhileRead extends Error {}
function compressed(file, version, handle, coding) {
    let entry = kept.get(file);
    if (entry?.version !== version) kept.set(file, (entry = { version }));
    entry[coding] ??= (async () => {
        const bytes = await handle.readFile();
        const after = await handle.stat({ bigint: true });
        if (`${after.size}-${after.mtimeNs}` !== version) throw new ChangedWhileRead();
        const packed = await coders[coding].pack(bytes, coders[coding].options(bytes.length));
        return packed.length < bytes.length ? packed : null;
    })().catch((error) => {
        if (kept.get(file) === entry) delete entry[coding];
        throw error;
    });
    return entry[coding];
}

// Whether the browser's copy, named by its validators, is the one we hold.
function unchanged(request, etag, modified) {
    const tags = request.headers['if-none-match'];
    if (tags !== undefined) {
        return tags.trim() === '*' || tags.split(',').some((tag) => tag.trim().replace(/^W\//, '') === etag);
    }
    const since = Date.parse(request.headers['if-modified-since'] ?? '');
    return !Number.isNaN(since) && Math.floor(modified / 1000) * 1000 <= since;
}

async function sendFile(request, response, file) {
    const handle = await open(file, 'r');
    let streaming = false;
    try {
        const info = await handle.stat({ bigint: true });
        const version = `${info.size}-${info.mtimeNs}`;
        const size = Number(info.size);
        const modified = Number(info.mtimeNs / 1000000n);
        const type = extname(file).toLowerCase();

        const coding = size >= smallestPacked && !packedTypes.has(type) ? chooseCoding(request.headers['accept-encoding']) : null;
        let body = null;
        if (coding) {
            try {
                body = await compressed(file, version, handle, coding);
            } catch (error) {
                if (!(error instanceof ChangedWhileRead)) throw error;
                response.writeHead(503, { 'Content-Type': 'text/plain; charset=utf-8', 'Retry-After': '1' });
                return response.end(request.method === 'HEAD' ? undefined : 'the file is being written\n');
            }
        }
        // Strong, from the file's size and time of change, and one of its
        // own for each coding, as each is other bytes.
        const tag = `${info.size.toString(16)}-${info.mtimeNs.toString(16)}`;
        const headers = {
            ETag: body ? `"${tag}-${coders[coding].suffix}"` : `"${tag}"`,
            'Last-Modified': new Date(modified).toUTCString(),
            // A build made again is picked up by the next load of the page,
            // which asks, and gets 304 for what did not change.
            'Cache-Control': 'no-cache',
            Vary: 'Accept-Encoding',
        };
        if (unchanged(request, headers.ETag, modified)) {
            response.writeHead(304, headers);
            return response.end();
        }
        headers['Content-Type'] = types[type] ?? 'application/octet-stream';
        headers['Content-Length'] = body ? body.length : size;
        if (body) headers['Content-Encoding'] = coding;
        response.writeHead(200, headers);
        if (request.method === 'HEAD') return response.end();
        if (body) return response.end(body);
        if (size === 0) return response.end();
        // Only the bytes the length promised, should the file grow meanwhile.
        streaming = true;
        pipeline(handle.createReadStream({ start: 0, end: size - 1 }), response, () => {});
    } finally {
        if (!streaming) await handle.close();
    }
}

async function answer(request, response) {
    const send = (code, text, headers = {}) => {
        response.writeHead(code, { 'Content-Type': 'text/plain; charset=utf-8', ...headers });
        response.end(request.method === 'HEAD' ? undefined : text + '\n');
    };
    if (request.method !== 'GET' && request.method !== 'HEAD') return send(405, 'GET or HEAD only', { Allow: 'GET, HEAD' });
    const target = requestTarget(request.url);
    if (!target) return send(400, 'not a path');
    const name = fileName(target.pathname);
    if (!name.name) return send(name.status, name.text);
    const found = await find(name.name);
    if (found.refused) return send(403, 'outside the served directories');
    // One slash at the front, so that the browser cannot read the address
    // as another host's ("//host/").
    if (found.redirect) return send(301, 'moved', { Location: `/${target.pathname.replace(/^[/\\]+/, '')}/${target.search}` });
    if (!found.file) return send(404, `${target.pathname} is not here`);
    await sendFile(request, response, found.file);
}

const server = createServer((request, response) => {
    // No request ends the server: what fails unforeseen is said in one line
    // and answered 500 (or cut short, when the answer has begun).
    answer(request, response).catch((error) => {
        const what = `${request.method} ${request.url}`.replace(/[^\x20-\x7e]/g, '?');
        console.error(`web-serve: ${what}: ${String(error?.message ?? error).replace(/\s+/g, ' ')}`);
        if (response.headersSent) return response.destroy();
        response.writeHead(500, { 'Content-Type': 'text/plain; charset=utf-8' });
        response.end(request.method === 'HEAD' ? undefined : 'the server failed\n');
    });
});

server.on('error', (error) => {
    console.error(`web-serve: cannot serve on 127.0.0.1:${port}: ${error.message}`);
    process.exit(1);
});
server.listen(port, '127.0.0.1', () => {
    console.log(`serving ${roots.join(' ')} on http://127.0.0.1:${server.address().port}/`);
});
