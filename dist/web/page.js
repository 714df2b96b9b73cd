// Runs the game in the page: its command line from the page's address, its
// output to the console, the keys the browser would otherwise take, full
// screen on F1, saving the game being played, and what the page says when
// the program ends.
//
//   index.html                        play; every game is recorded
//   index.html?level=N                play from level N
//   index.html?demo=FILE[&fast=1]     replay FILE, a file served beside the
//                                     page or in a folder under it, as fast
//                                     as the browser can with fast=1
//
// Everything but Module and vantrelPage (for the page's other scripts) stays
// inside this function: the program's script declares many globals of its
// own, and one of the same name here would stop it from loading.
(() => {
    'use strict';

    const canvas = document.getElementById('canvas');
    const message = document.getElementById('message');
    const statusText = document.getElementById('status');
    const result = document.getElementById('result');
    const again = document.getElementById('again');
    const saveLink = document.getElementById('save');
    const fullButton = document.getElementById('full');

    // Calls into the program, once it runs; nothing before, or after it stopped.
    function game(name, ...args) {
        const f = window.Module && Module[`_${name}`];
        if (typeof f !== 'function') return undefined;
        try {
            return f(...args);
        } catch (e) {
            return undefined;  // not yet ready, or gone
        }
    }
    // What the page's other scripts (touch.js, leaving.js) share with this one.
    window.vantrelPage = Object.freeze({ canvas, again, game });

    const recording = '/home/web_user/game.demo';
    const query = new URLSearchParams(location.search);
    const demo = query.get('demo');

    let started = false;  // main has begun
    let ended = false;    // the run has ended, or the program stopped on an error
    let lastOut = '';     // stdout's last line: a replay's end line
    let lastError = '';   // stderr's last line: why the program stopped

    function refresh() {
        message.classList.toggle('quiet', !statusText.textContent && !result.textContent && again.hidden);
    }

    function say(text, error = false) {
        statusText.textContent = text;
        message.classList.toggle('error', error);
        refresh();
    }

    function offerAgain(label) {
        again.textContent = label;
        again.hidden = false;
        refresh();
    }

    // The program's file system: a global of its script, or on Module when
    // the build exports it.
    function fileSystem() {
        return typeof FS !== 'undefined' ? FS : Module.FS;
    }

    // Full screen is the page's, on F1 and its button: the whole page, so
    // that the picture keeps its 4:3 and the black around it.
    function fullScreenElement() {
        return document.fullscreenElement || document.webkitFullscreenElement || null;
    }
    const root = document.documentElement;
    const requestFull = root.requestFullscreen || root.webkitRequestFullscreen;
    const exitFull = document.exitFullscreen || document.webkitExitFullscreen;

    function setFullScreen(on) {
        if (on === Boolean(fullScreenElement())) return;
        try {
            const done = on ? requestFull.call(root) : exitFull.call(document);
            if (done && done.catch) done.catch(() => {});  // refused: the page stays as it is
        } catch (e) {
            // not offered by this browser
        }
    }

    if (!requestFull) fullButton.hidden = true;
    fullButton.addEventListener('click', () => {
        setFullScreen(!fullScreenElement());
        canvas.focus();
    });
    for (const name of ['fullscreenchange', 'webkitfullscreenchange']) {
        document.addEventListener(name, () => {
            document.body.classList.toggle('full', Boolean(fullScreenElement()));
            canvas.focus();
        });
    }

    // Registered before the program's script, in the capture phase on the
    // window, so this runs before the game's own key handling. The game's
    // keys keep going to the game but lose their browser use (scrolling,
    // find, pressing a focused button); F1 goes no further than here.
    const gameKeys = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Space', ' ', 'F2', 'F3']);
    function onKey(event) {
        if (ended || event.ctrlKey || event.altKey || event.metaKey) return;
        if (event.code === 'F1' || event.key === 'F1') {
            event.preventDefault();
            event.stopImmediatePropagation();
            if (event.type === 'keydown' && !event.repeat) setFullScreen(!fullScreenElement());
        } else if (gameKeys.has(event.code) || gameKeys.has(event.key)) {
            event.preventDefault();
        }
    }
    window.addEventListener('keydown', onKey, true);
    window.addEventListener('keyup', onKey, true);

    // The controls show while the mouse moves, and when the game has ended.
    const bar = document.getElementById('bar');
    let idleTimer = 0;
    function wakeBar() {
        bar.classList.remove('idle');
        clearTimeout(idleTimer);
        if (!ended) idleTimer = setTimeout(() => bar.classList.add('idle'), 3000);
    }
    document.addEventListener('mousemove', wakeBar);
    wakeBar();

    canvas.addEventListener('click', () => canvas.focus());
    canvas.addEventListener('webglcontextlost', (event) => {
        event.preventDefault();
        say('The browser took the picture away (WebGL context lost). Reload the page to play again.', true);
    });
    // "play again" and "replay again": the program waits between runs
    // (app/web_main.cpp), and runs again in this page, its files and the
    // player's as they are. One that stopped on an error is loaded afresh.
    again.addEventListener('click', () => {
        if (!Module.runAgain) {
            location.reload();
            return;
        }
        ended = false;
        lastOut = lastError = '';
        result.textContent = '';
        again.hidden = true;
        say('');
        wakeBar();
        canvas.focus();
        Module.runAgain();
    });

    function download(bytes, name) {
        const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
        const link = document.createElement('a');
        link.href = url;
        link.download = name;
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(url), 60000);
    }

    // "save this game": during play, the game so far, which the program
    // writes whole (ended at the last frame shown, where its recording's
    // game.demo.part lacks the end); after the game, game.demo, which the
    // .part becomes when the game ends. A game stopped on an error leaves
    // only the .part.
    saveLink.hidden = demo !== null;
    saveLink.addEventListener('click', (event) => {
        event.preventDefault();
        canvas.focus();
        if (!started) return;
        let bytes;
        try {
            const fs = fileSystem();
            if (!ended && Module._vantrel_save_game_so_far()) {
                bytes = fs.readFile('/home/web_user/game-so-far.demo');
            } else {
                const finished = ended && fs.analyzePath(recording).exists;
                bytes = fs.readFile(finished ? recording : `${recording}.part`);
            }
        } catch (e) {
            say(`Cannot save this game: ${e.message || e}`, true);
            return;
        }
        download(bytes, 'vantrel-game.demo');
    });

    // "save scores" and "load scores": the player's tables and their games
    // as one file, a tar archive of scores.txt and games/*.demo laid out as
    // the game keeps them in its folder for the player's data, so that the
    // desktop's can take it too (tar -xf vantrel-scores.tar -C
    // ~/.local/share/vantrel). Loading adds the file's entries to the
    // page's by the tables' rules (app/score_keeping.cpp): nothing kept is
    // replaced, and what left the tables for better entries is said.
    const scoresFolder = '/home/web_user/.local/share/vantrel';
    const loadedFolder = '/home/web_user/loaded-scores';  // app/web_main.cpp takes them from here
    const block = 512;
    const saveScores = document.getElementById('save-scores');
    const loadScores = document.getElementById('load-scores');
    const scoresFile = document.getElementById('scores-file');
    saveScores.hidden = loadScores.hidden = demo !== null;

    // A note that goes away by itself, unless something else is said meanwhile.
    function note(text, error = false) {
        const before = [statusText.textContent, message.classList.contains('error')];
        say(text, error);
        setTimeout(() => statusText.textContent === text && say(...before), 8000);
    }

    function tarEntry(name, bytes) {
        if (name.length > 99 || /[^\x20-\x7e]/.test(name)) throw new Error(`the name ${name} does not fit a tar archive`);
        const header = new Uint8Array(block);
        const put = (text, at) => { for (let i = 0; i < text.length; ++i) header[at + i] = text.charCodeAt(i); };
        const octal = (n, width) => n.toString(8).padStart(width - 1, '0');
        put(name, 0);
        put(octal(0o644, 8), 100);
        put(octal(0, 8), 108);
        put(octal(0, 8), 116);
        put(octal(bytes.length, 12), 124);
        put(octal(Math.floor(Date.now() / 1000), 12), 136);
        put('        ', 148);  // the checksum counts its own field as spaces
        put('0', 156);
        put('ustar\x0000', 257);
        put(octal(header.reduce((sum, b) => sum + b, 0), 7), 148);
        header[154] = 0;
        const data = new Uint8Array(Math.ceil(bytes.length / block) * block);
        data.set(bytes);
        return [header, data];
    }

    // The regular files of a tar archive, as {name, bytes}; null when the
    // bytes are not one.
    function untar(bytes) {
        const files = [];
        for (let at = 0; at + block <= bytes.length;) {
            const header = bytes.subarray(at, at + block);
            if (header.every((b) => b === 0)) return files;
            const text = (from, length) => {
                let out = '';
                for (let i = from; i < from + length && header[i]; ++i) out += String.fromCharCode(header[i]);
                return out;
            };
            let sum = 0;
            for (let i = 0; i < block; ++i) sum += i >= 148 && i < 156 ? 32 : header[i];
            const size = parseInt(text(124, 12).trim() || 'x', 8);
            if (!text(257, 6).startsWith('ustar') || parseInt(text(148, 8).trim(), 8) !== sum ||
                !(size >= 0) || at + block + size > bytes.length) return null;
            const prefix = header[262] === 0 ? text(345, 155) : '';  // POSIX's ustar only: GNU's keeps times there
            const name = `${prefix ? `${prefix}/` : ''}${text(0, 100)}`.replace(/^(\.\/)+/, '');
            if (header[156] === 0 || header[156] === 48) files.push({ name, bytes: bytes.slice(at + block, at + block + size) });
            at += block + Math.ceil(size / block) * block;
        }
        return files.length ? files : null;
    }

    saveScores.addEventListener('click', (event) => {
        event.preventDefault();
        canvas.focus();
        if (!started) return;
        const parts = [];
        try {
            const fs = fileSystem();
            if (!fs.analyzePath(`${scoresFolder}/scores.txt`).exists) {
                note('No scores are kept yet.');
                return;
            }
            parts.push(...tarEntry('scores.txt', fs.readFile(`${scoresFolder}/scores.txt`)));
            const games = fs.analyzePath(`${scoresFolder}/games`).exists ? fs.readdir(`${scoresFolder}/games`) : [];
            for (const name of games.filter((n) => n.endsWith('.demo')).sort())
                parts.push(...tarEntry(`games/${name}`, fs.readFile(`${scoresFolder}/games/${name}`)));
        } catch (e) {
            note(`Cannot save the scores: ${e.message || e}`, true);
            return;
        }
        parts.push(new Uint8Array(2 * block));
        download(new Blob(parts), 'vantrel-scores.tar');
    });

    loadScores.addEventListener('click', () => {
        if (started) scoresFile.click();
        canvas.focus();
    });
    scoresFile.addEventListener('change', async () => {
        const file = scoresFile.files[0];
        scoresFile.value = '';
        if (!file) return;
        const files = untar(new Uint8Array(await file.arrayBuffer()));
        const wanted = (files || []).filter(({ name }) => name === 'scores.txt' || /^games\/[^/.][^/]*\.demo$/.test(name));
        if (!wanted.some(({ name }) => name === 'scores.txt')) {
            note(`${file.name} is not a file of scores: "save scores" makes one, a .tar holding scores.txt and games/.`, true);
            return;
        }
        const fs = fileSystem();
        const clear = () => {
            if (!fs.analyzePath(loadedFolder).exists) return;
            if (fs.analyzePath(`${loadedFolder}/games`).exists) {
                for (const name of fs.readdir(`${loadedFolder}/games`)) if (name !== '.' && name !== '..') fs.unlink(`${loadedFolder}/games/${name}`);
                fs.rmdir(`${loadedFolder}/games`);
            }
            for (const name of fs.readdir(loadedFolder)) if (name !== '.' && name !== '..') fs.unlink(`${loadedFolder}/${name}`);
        };
        try {
            clear();
            fs.mkdirTree(`${loadedFolder}/games`);
            for (const { name, bytes } of wanted) fs.writeFile(`${loadedFolder}/${name}`, bytes);
        } catch (e) {
            note(`Cannot load ${file.name}: ${e.message || e}`, true);
            return;
        }
        // The program takes them on its own turn, as writing the player's
        // files waits for the browser's storage, and says how it went.
        lastOut = lastError = '';
        Module.onScoresLoaded = (entered) => {
            Module.onScoresLoaded = null;
            clear();
            if (entered >= 0) note(`${file.name}: ${lastOut}`);
            else note(`Cannot load ${file.name}: ${lastError.replace(/^vantrel: /, '')}`, true);
        };
        Module.scoresToLoad = true;
        if (Module.wakeProgram) Module.wakeProgram();
    });

    function finished(status) {
        ended = true;
        setFullScreen(false);
        wakeBar();
        const why = lastError ? `: ${lastError}` : '';
        if (demo !== null) {
            if (status === 0) {
                // The program's print has already logged the line.
                result.textContent = lastOut;
                say('');
            } else {
                say(`The replay stopped (status ${status})${why}`, true);
            }
            offerAgain('replay again');
        } else if (status === 0 || status === 27) {
            say('The game has ended.');
            offerAgain('play again');
        } else {
            say(`The game stopped (status ${status})${why}`, true);
            offerAgain('play again');
        }
    }

    function stopped(what) {
        if (ended) return;
        ended = true;
        wakeBar();
        say(`The game stopped: ${what}`, true);
        offerAgain('play again');
    }

    // ?demo= names a file served beside the page, or in a folder under it,
    // by its path from the page's folder: never another site's file, nor a
    // data: or blob: address, so that a link cannot make a player's page
    // replay what a stranger put in it. The path, each part of it escaped for
    // the address, or null with why not.
    function demoPath(name) {
        const refused = (why) => ({ path: null, why: `The replay cannot start: ?demo=${name} ${why}. ` +
            'It takes the name of a demo served beside this page, such as ?demo=game.demo or ?demo=demos/game.demo.' });
        if (name === '') return refused('names no file');
        if (/^[a-z][a-z0-9+.-]*:/i.test(name)) return refused('is an address with a scheme');
        if (/[\\\0-\x1f]/.test(name)) return refused('holds a backslash or a control character');
        const parts = name.split('/');
        if (parts.includes('')) return refused('is not a path within the page\'s folder');
        if (parts.includes('.') || parts.includes('..')) return refused('climbs among folders with . or ..');
        return { path: parts.map(encodeURIComponent).join('/'), why: '' };
    }

    // The command line, from the page's address.
    const args = ['--window'];
    const level = query.get('level');
    if (level !== null) args.push('--level', level);
    let demoName = '';
    let demoBytes = null;
    const demoRefused = demo === null ? '' : demoPath(demo).why;
    if (demoRefused) {
        ended = true;
        say(demoRefused, true);
    } else if (demo !== null) {
        const { path } = demoPath(demo);
        demoName = (demo.split('/').pop().replace(/[^\w.-]/g, '_') || 'game.demo').replace(/^\.+/, '_');
        args.push('--play-demo', `/demo/${demoName}`);
        if (query.get('fast') === '1') args.push('--no-vsync');
        demoBytes = fetch(path).then((response) => {
            if (!response.ok) throw new Error(`${response.status} ${response.statusText}`.trim());
            return response.arrayBuffer();
        });
        demoBytes.catch((e) => {
            ended = true;
            result.textContent = `cannot fetch ${demo}: ${e.message || e}`;
            console.log(result.textContent);
            say('', true);
        });
    } else {
        args.push('--record', recording);
    }

    // A game played keeps the player's scores and settings in the browser's
    // storage for this site (platform/web_player_storage.cpp). The browser
    // is asked once to keep that storage rather than clear it when short of
    // room; a refusal changes nothing, and goes unsaid.
    if (demo === null && navigator.storage && navigator.storage.persist) {
        navigator.storage.persisted().then((kept) => kept || navigator.storage.persist()).catch(() => {});
    }

    window.Module = {
        canvas,
        arguments: args,
        print(line) {
            console.log(line);
            lastOut = line;
        },
        printErr(line) {
            console.warn(line);
            // The compiler's notes on its GL emulation say nothing of the game.
            if (!line.startsWith('WARNING: using emscripten GL')) lastError = line;
        },
        // A demo is in the program's file system before main runs; one that
        // cannot be fetched keeps the program from starting at all.
        preRun: [() => {
            if (!demoBytes) return;
            const add = typeof addRunDependency === 'function' ? addRunDependency : Module.addRunDependency;
            const remove = typeof removeRunDependency === 'function' ? removeRunDependency : Module.removeRunDependency;
            add('demo');
            demoBytes.then((bytes) => {
                try {
                    fileSystem().mkdir('/demo');
                    fileSystem().writeFile(`/demo/${demoName}`, new Uint8Array(bytes));
                } catch (e) {
                    stopped(`cannot place the demo: ${e.message || e}`);
                    return;
                }
                remove('demo');
            }, () => {});
        }],
        setStatus(text) {
            if (started || ended) return;
            const progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
            say(progress ? `loading… ${Math.floor((100 * progress[1]) / progress[2])}%` : 'loading…');
        },
        onRuntimeInitialized() {
            started = true;
            if (!ended) say('');
        },
        onProgramEnd: finished,
        onExit: finished,
        onAbort: (what) => stopped(what),
    };

    window.addEventListener('error', (event) => {
        if (event.error && event.error.name === 'ExitStatus') return;  // how the program's exit unwinds
        stopped(event.message);
    });

    function webGLOffered() {
        try {
            const gl = document.createElement('canvas').getContext('webgl');
            if (!gl) return false;
            const lose = gl.getExtension('WEBGL_lose_context');
            if (lose) lose.loseContext();
            return true;
        } catch (e) {
            return false;
        }
    }

    canvas.focus();
    if (demoRefused) return;
    if (!webGLOffered()) {
        ended = true;
        saveLink.hidden = true;
        say('This browser offers no WebGL, which the game draws with: turn on hardware acceleration, or try another browser.', true);
        return;
    }
    const script = document.createElement('script');
    script.src = 'vantrel.js';
    script.addEventListener('error', () => stopped('vantrel.js could not be loaded'));
    document.body.appendChild(script);
})();
