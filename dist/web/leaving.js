// Leaving the game in the page. ESC, pressed by reflex where browsers use it
// to leave full screen, does not end the game at once: in play it pauses it
// (the game's own pause) and the page asks "End this game?"; "end" ends it
// as the quit key does, "go on" or ESC again goes on. On the title it asks
// the same before ending. Elsewhere the key is the game's own (the name
// screen's, the keys screen's, a replay's): app/web_controls.cpp says which.
// A hidden page pauses play and silences the sound; it never resumes by
// itself.
(() => {
    'use strict';

    const { canvas, again, game } = window.vantrelPage;
    const ask = document.getElementById('ask');
    const endButton = document.getElementById('ask-end');
    const goOnButton = document.getElementById('ask-on');

    // The page asks only while a game runs: not once it has ended.
    const running = () => again.hidden;

    let asking = false;
    const swallowUp = new Set();  // keys whose going down the page took, their going up too

    function open() {
        asking = true;
        ask.hidden = false;
        goOnButton.focus();
    }

    function answer(end) {
        if (!asking) return;
        asking = false;
        ask.hidden = true;
        game('vantrel_quit_answer', end ? 1 : 0);
        canvas.focus();
    }
    endButton.addEventListener('click', () => answer(true));
    goOnButton.addEventListener('click', () => answer(false));

    // In the capture phase on the window, before the program's own key
    // handling (registered later, when its script runs).
    window.addEventListener('keydown', (event) => {
        if (asking) {
            // The question takes the keys: ESC goes on, the buttons have
            // theirs (TAB, ENTER, SPACE), and none reaches the game.
            if (event.key === 'Escape' || event.key === 'Esc') {
                event.preventDefault();
                if (!event.repeat) answer(false);
            }
            if (!['Tab', 'Enter', ' '].includes(event.key)) event.preventDefault();
            event.stopImmediatePropagation();
            swallowUp.add(event.keyCode);
            return;
        }
        if (event.repeat || event.ctrlKey || event.altKey || event.metaKey || !running()) return;
        if (game('vantrel_quit_asks', event.keyCode) !== 1) return;
        event.preventDefault();
        event.stopImmediatePropagation();
        swallowUp.add(event.keyCode);
        open();
    }, true);
    window.addEventListener('keyup', (event) => {
        if (!swallowUp.delete(event.keyCode)) return;
        event.stopImmediatePropagation();
    }, true);

    // Hidden: play pauses as when the window loses the focus, and the sound's
    // output stands still until the page shows again.
    const audio = () => window.Module && Module.SDL2 && Module.SDL2.audioContext;
    document.addEventListener('visibilitychange', () => {
        const context = audio();
        if (document.visibilityState === 'hidden') {
            game('vantrel_page_hidden');
            if (context && context.state === 'running') context.suspend().catch(() => {});
        } else if (context && context.state === 'suspended') {
            context.resume().catch(() => {});
        }
    });
})();
