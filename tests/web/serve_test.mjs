// The page's static server (tools/web-serve.mjs) over a folder made here:
// compressed answers that decompress to the file, validators and 304,
// hostile requests answered without ending the server, links out of the
// folder refused. Needs node only.
//
//   node tests/web/serve_test.mjs
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtempSync, mkdirSync, writeFileSync, symlinkSync, rmSync, utimesSync } from 'node:fs';
import { request } from 'node:http';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gunzipSync, brotliDecompressSync } from 'node:zlib';
import { check, failures } from './support.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const top = mkdtempSync(join(tmpdir(), 'vantrel-serve-'));
const site = join(top, 'site');
mkdirSync(join(site, 'sub'), { recursive: true });
mkdirSync(join(top, 'outside'));

// Text that compresses as code does: repeated words, not one repeated byte.
const words = ['frame', 'level', 'stair', 'mirror', 'score', 'demo', 'key', 'floor'];
const text = (lines, seed) => Array.from({ length: lines },
    (_, i) => `const ${words[(i * seed) % 8]}${i} = ${words[(i + seed) % 8]}(${(i * 7919) % 1000});\n`).join('');
const files = {
    'small.txt': Buffer.from('a file too small to be worth compressing\n'),
    'page.js': Buffer.from(text(4000, 3)),
    // A module's magic and a body of numbers that repeat in part.
    'game.wasm': Buffer.concat([Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]),
        Buffer.from(Array.from({ length: 60000 }, (_, i) => (i % 251) ^ ((i >> 6) & 0x0f)))]),
    'picture.png': Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]), Buffer.alloc(4000, 7)]),
    'app.webmanifest': Buffer.from(JSON.stringify({ name: 'Vantrel', icons: [], pad: 'x'.repeat(2000) })),
    'sub/index.html': Buffer.from('<!doctype html><title>sub</title>\n'),
};
for (const [name, bytes] of Object.entries(files)) writeFileSync(join(site, name), bytes);
const secret = 'a file outside the served folder\n';
writeFileSync(join(top, 'outside', 'secret.txt'), secret);
symlinkSync('../outside/secret.txt', join(site, 'out.txt'));
symlinkSync('../outside', join(site, 'outdir'));
symlinkSync('page.js', join(site, 'inside.js'));

const server = spawn(process.execPath, [join(here, '..', '..', 'tools', 'web-serve.mjs'), site],
    { stdio: ['ignore', 'pipe', 'pipe'] });
let serverErrors = '';
server.stderr.on('data', (chunk) => (serverErrors += chunk));
let exited = null;
const port = await new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (chunk) => {
        said += chunk;
        const found = /^serving .* on http:\/\/127\.0\.0\.1:(\d+)\/\n/.exec(said);
        if (found) resolve(Number(found[1]));
    });
    server.on('exit', (code) => {
        exited = code;
        reject(new Error(`the server ended (status ${code}) before serving: ${serverErrors}`));
    });
});

// An answer as sent, its body not decoded.
function get(path, headers = {}, method = 'GET') {
    return new Promise((resolve, reject) => {
        const sent = request({ host: '127.0.0.1', port, path, method, headers }, (response) => {
            const chunks = [];
            response.on('data', (chunk) => chunks.push(chunk));
            response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks) }));
        });
        sent.on('error', reject);
        sent.end();
    });
}

// What comes back for a request written byte for byte, up to the close.
function raw(lines) {
    return new Promise((resolve, reject) => {
        const socket = connect(port, '127.0.0.1', () => socket.write(lines));
        let answer = '';
        socket.on('data', (chunk) => (answer += chunk.toString('latin1')));
        socket.on('close', () => resolve(answer));
        socket.on('error', reject);
        socket.setTimeout(2000, () => socket.destroy(new Error(`no answer to ${JSON.stringify(lines)}`)));
    });
}

const decoded = (answer) => {
    const coding = answer.headers['content-encoding'];
    if (coding === 'br') return brotliDecompressSync(answer.body);
    if (coding === 'gzip') return gunzipSync(answer.body);
    assert.equal(coding, undefined, 'an unknown coding');
    return answer.body;
};

await check('compressed as the browser takes it, the file when decompressed', async () => {
    const cases = [
        ['gzip, deflate, br', 'br'],
        ['gzip', 'gzip'],
        ['br;q=0.5, gzip', 'gzip'],
        ['gzip;q=0.2, *;q=0.8', 'br'],
        ['br;q=0, gzip;q=0', undefined],
        ['identity', undefined],
        [undefined, undefined],
    ];
    for (const name of ['page.js', 'game.wasm']) {
        for (const [accepted, coding] of cases) {
            const answer = await get(`/${name}`, accepted === undefined ? {} : { 'Accept-Encoding': accepted });
            const what = `${name} for ${accepted}`;
            assert.equal(answer.status, 200, what);
            assert.equal(answer.headers['content-encoding'], coding, what);
            assert.match(answer.headers.vary ?? '', /accept-encoding/i, what);
            assert.equal(Number(answer.headers['content-length']), answer.body.length, what);
            assert.ok(decoded(answer).equals(files[name]), `${what}: not the file`);
            if (coding) assert.ok(answer.body.length < files[name].length / 2, `${what}: hardly compressed`);
        }
    }
    for (const name of ['small.txt', 'picture.png']) {
        const answer = await get(`/${name}`, { 'Accept-Encoding': 'gzip, br' });
        assert.equal(answer.headers['content-encoding'], undefined, `${name} compressed`);
        assert.ok(answer.body.equals(files[name]), name);
    }
    const manifest = await get('/app.webmanifest');
    assert.equal(manifest.headers['content-type'], 'application/manifest+json');
    assert.equal((await get('/game.wasm')).headers['content-type'], 'application/wasm');
    // HEAD answers as GET does, without the body.
    const head = await get('/page.js', { 'Accept-Encoding': 'br' }, 'HEAD');
    const full = await get('/page.js', { 'Accept-Encoding': 'br' });
    assert.equal(head.body.length, 0);
    for (const header of ['content-encoding', 'content-length', 'content-type', 'etag', 'last-modified', 'vary'])
        assert.equal(head.headers[header], full.headers[header], `HEAD's ${header}`);
});

await check('validators: 304 for the copy the browser holds, the new file once it changes', async () => {
    const tags = new Set();
    for (const accepted of ['br', 'gzip', 'identity']) {
        const first = await get('/page.js', { 'Accept-Encoding': accepted });
        const tag = first.headers.etag;
        assert.match(tag ?? '', /^"[^"]+"$/, `a strong ETag for ${accepted}`);
        assert.equal(first.headers['cache-control'], 'no-cache');
        tags.add(tag);
        const again = await get('/page.js', { 'Accept-Encoding': accepted, 'If-None-Match': `"other", ${tag}` });
        assert.equal(again.status, 304, `If-None-Match for ${accepted}`);
        assert.equal(again.body.length, 0, 'a 304 with a body');
        assert.equal(again.headers.etag, tag);
        const since = await get('/page.js', { 'Accept-Encoding': accepted, 'If-Modified-Since': first.headers['last-modified'] });
        assert.equal(since.status, 304, `If-Modified-Since for ${accepted}`);
        const hourBefore = new Date(Date.parse(first.headers['last-modified']) - 3600e3).toUTCString();
        assert.equal((await get('/page.js', { 'Accept-Encoding': accepted, 'If-Modified-Since': hourBefore })).status, 200);
    }
    assert.equal(tags.size, 3, 'one ETag for each coding');
    // Another coding's tag names other bytes.
    const gzipTag = (await get('/page.js', { 'Accept-Encoding': 'gzip' })).headers.etag;
    assert.equal((await get('/page.js', { 'Accept-Encoding': 'br', 'If-None-Match': gzipTag })).status, 200);

    // Built again: another size and time. The tags the browser holds no
    // longer match, and what comes, in each coding, is the new file.
    const held = {};
    for (const accepted of ['br', 'gzip', 'identity']) held[accepted] = (await get('/page.js', { 'Accept-Encoding': accepted })).headers;
    files['page.js'] = Buffer.from(text(3000, 5));
    writeFileSync(join(site, 'page.js'), files['page.js']);
    const later = new Date(Date.parse(held.br['last-modified']) + 10e3);
    utimesSync(join(site, 'page.js'), later, later);
    for (const accepted of ['br', 'gzip', 'identity']) {
        const answer = await get('/page.js', { 'Accept-Encoding': accepted, 'If-None-Match': held[accepted].etag,
            'If-Modified-Since': held[accepted]['last-modified'] });
        assert.equal(answer.status, 200, `rebuilt file for ${accepted}`);
        assert.notEqual(answer.headers.etag, held[accepted].etag);
        assert.ok(decoded(answer).equals(files['page.js']), `the old file for ${accepted}`);
    }
});

await check('hostile requests are answered and the server goes on', async () => {
    const cases = [
        ['GET //a:99999/ HTTP/1.1', 404],
        ['GET http://a:99999/ HTTP/1.1', 400],
        ['GET http://[::1/ HTTP/1.1', 400],
        ['GET * HTTP/1.1', 400],
        ['GET /%zz HTTP/1.1', 400],
        ['GET /page.js%00 HTTP/1.1', 400],
        ['GET /../outside/secret.txt HTTP/1.1', 403],
        ['GET /%2e%2e/outside/secret.txt HTTP/1.1', 403],
        ['GET /sub/..%2f..%2foutside/secret.txt HTTP/1.1', 403],
        ['GET http://127.0.0.1/%2E%2E/%2e%2e/outside/secret.txt HTTP/1.1', 404],
        ['DELETE /page.js HTTP/1.1', 405],
        ['GET /page.js HTTP/1.1\r\nAccept-Encoding: br;q=nonsense, ;;, gzip;q=2\r\nIf-Modified-Since: yesterday', 200],
        ['GET /page.js HTTP/1.1\r\nIf-None-Match: W/', 200],
        ['GET /page.js HTTP/9.9', 400],
        ['hello', 400],
    ];
    for (const [line, status] of cases) {
        const answer = await raw(`${line}\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`);
        assert.match(answer, new RegExp(`^HTTP/1\\.1 ${status} `), `${JSON.stringify(line)} answered ${answer.split('\r\n')[0]}`);
        assert.ok(!answer.includes(secret.trim()), `${line} gave the file outside`);
    }
    // A directory's address sent on with one slash, so that "//sub" is not
    // taken for a host.
    const moved = await raw('GET //sub?x=1 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n');
    assert.match(moved, /^HTTP\/1\.1 301 [^]*\r\nLocation: \/sub\/\?x=1\r\n/i);
    assert.equal(exited, null, 'the server ended');
    assert.ok((await get('/page.js')).body.equals(files['page.js']), 'the server no longer serves');
});

await check('a link out of the folder is refused, one within it served', async () => {
    for (const path of ['/out.txt', '/outdir/secret.txt', '/outdir', '/outdir/']) {
        const answer = await get(path);
        assert.ok([403, 404].includes(answer.status), `${path} answered ${answer.status}`);
        assert.ok(!answer.body.toString().includes(secret.trim()), `${path} gave the file outside`);
    }
    const inside = await get('/inside.js', { 'Accept-Encoding': 'gzip' });
    assert.equal(inside.status, 200);
    assert.ok(decoded(inside).equals(files['page.js']));
});

server.kill();
rmSync(top, { recursive: true, force: true });
if (serverErrors) console.log(`the server said:\n${serverErrors}`);
if (failures()) {
    console.log(`${failures()} failed`);
    process.exit(1);
}
