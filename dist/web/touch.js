// The game played by touch: buttons for walking left and right, start, pause,
// sound and full screen, shown on a touch screen and hidden again while a
// keyboard or a controller is used; a tap on the picture leaves the title;
// and a row of letters while the game asks for a high score's name.
//
// A button held is a key held: it goes to the game as the key bound to its
// action (app/web_controls.cpp), through the game's message queue, so that
// the recording holds it as it holds the keyboard. Whether play is paused and
// the sound on is the game's to say: the page reads it back at every
// animation frame and shows it on the toggle buttons.
(() => {
    'use strict';

    const { canvas, again, game } = window.vantrelPage;
    const controls = document.getElementById('touch');
    const letters = document.getElementById('letters');
    const pauseButton = controls.querySelector('[data-action="pause"]');
    const soundButton = controls.querySelector('[data-action="sound"]');
    const fullButton = controls.querySelector('[data-page="full"]');

    // The game's actions by number (app/key_bindings.h).
    const actions = { left: 0, right: 1, start: 2, pause: 3, sound: 6 };
    // The game's state bits (vantrel_state in app/web_controls.cpp).
    const state = { playing: 1, paused: 2, soundOn: 4, naming: 8, keysScreen: 16, replay: 32 };

    // Touch is the way of playing on a device whose main pointer is a finger,
    // and on any device from its first touch; a key or a controller's button
    // ends it, until the next touch.
    let touching = matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0;
    function useTouch(on) {
        if (on === touching) return;
        touching = on;
        show();
    }
    window.addEventListener('pointerdown', (event) => {
        if (event.pointerType === 'touch') useTouch(true);
    }, true);
    window.addEventListener('keydown', (event) => {
        if (event.isTrusted) useTouch(false);
    }, true);

    function gamepadPressed() {
        if (!navigator.getGamepads) return false;
        for (const pad of navigator.getGamepads()) {
            if (pad && pad.buttons.some((b) => b.pressed)) return true;
        }
        return false;
    }

    // A button held: pressed on the way down, let go on the way up, when the
    // pointer is cancelled, or when it loses its capture; each finger its own
    // button, so that both walking buttons can be held at once.
    function holdable(button, press) {
        let pointer = null;
        const release = () => {
            if (pointer === null) return;
            pointer = null;
            button.classList.remove('held');
            press(false);
        };
        button.addEventListener('pointerdown', (event) => {
            event.preventDefault();
            if (pointer !== null) return;
            pointer = event.pointerId;
            try {
                button.setPointerCapture(pointer);
            } catch (e) {
                // the pointer is already gone
            }
            button.classList.add('held');
            press(true);
        });
        for (const name of ['pointerup', 'pointercancel', 'lostpointercapture']) {
            button.addEventListener(name, (event) => {
                if (event.pointerId === pointer) release();
            });
        }
        // A click from the keyboard or an assistive tool, which sends no
        // pointer events: a press and its release.
        button.addEventListener('click', (event) => {
            if (event.detail !== 0) return;
            press(true);
            press(false);
        });
        return release;
    }

    const releases = [];
    for (const button of controls.querySelectorAll('[data-action]')) {
        const action = actions[button.dataset.action];
        releases.push(holdable(button, (down) => game('vantrel_press_action', action, down ? 1 : 0)));
    }

    // Full screen is the page's (page.js), as its own button does it.
    const pageFull = document.getElementById('full');
    fullButton.hidden = pageFull.hidden;
    fullButton.addEventListener('click', () => pageFull.click());

    // A tap on the picture leaves the title, as start does.
    let titleTap = null;
    canvas.addEventListener('pointerdown', (event) => {
        if (event.pointerType !== 'touch' || titleTap !== null) return;
        const now = game('vantrel_state');
        if (now === undefined || now & (state.playing | state.naming | state.keysScreen | state.replay)) return;
        titleTap = event.pointerId;
        game('vantrel_press_action', actions.start, 1);
    });
    const endTitleTap = (event) => {
        if (event.pointerId !== titleTap) return;
        titleTap = null;
        game('vantrel_press_action', actions.start, 0);
    };
    for (const name of ['pointerup', 'pointercancel']) canvas.addEventListener(name, endTitleTap);

    // The name's row: A to Z, ← and → to move, ⌫ to rub out, OK to confirm;
    // each a key of the keyboard as the name screen takes them.
    const nameKeys = [...'ABCDEFGHIJKLMNOPQRSTUVWXYZ'].map((c) => [c, c, c.charCodeAt(0)])
        .concat([['←', 'back', 37], ['→', 'forward', 39], ['⌫', 'rub out', 8], ['OK', 'OK', 13]]);
    for (const [text, name, code] of nameKeys) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = text;
        if (name !== text) button.setAttribute('aria-label', name);
        letters.appendChild(button);
        holdable(button, (down) => game('vantrel_press_key', code, down ? 1 : 0));
    }

    // What shows: the buttons while touch is used and the game is not asking
    // for a name; the letters while it is; neither once the game has ended,
    // where the page offers to play again, nor on the keys screen, which
    // would take their keys as the player's choice. The toggles as the game
    // says.
    let shown = -1;
    function show() {
        const now = game('vantrel_state');
        const naming = now !== undefined && (now & state.naming) !== 0;
        const keysScreen = now !== undefined && (now & state.keysScreen) !== 0;
        document.body.classList.toggle('touch', touching);
        const buttonsOn = touching && !naming && !keysScreen && again.hidden;
        if (controls.hidden === buttonsOn) {
            controls.hidden = !buttonsOn;
            if (!buttonsOn) for (const release of releases) release();  // nothing stays held out of sight
        }
        letters.hidden = !(touching && naming && again.hidden);
        if (now === undefined || now === shown) return;
        shown = now;
        pauseButton.setAttribute('aria-pressed', String((now & state.paused) !== 0));
        soundButton.setAttribute('aria-pressed', String((now & state.soundOn) !== 0));
    }

    function everyFrame() {
        if (touching && gamepadPressed()) useTouch(false);
        show();
        requestAnimationFrame(everyFrame);
    }
    requestAnimationFrame(everyFrame);
    show();
})();
