// Makes the page playable with no network once it has been visited: the
// service worker sw.js (written by the build) keeps every file the page
// loads. Only where the page is served over http(s) and the browser offers
// service workers; elsewhere, or when registering fails, the page plays as
// it always does, from the network.
//
// A new version of the site is fetched whole by its worker in the
// background and takes over once every page of the old one is closed, so
// that a page never mixes the files of two versions.
(() => {
    'use strict';
    if (!('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)) return;
    // After the page's own files, so that keeping them does not slow the
    // first start.
    window.addEventListener('load', () => {
        navigator.serviceWorker.register('sw.js', { scope: './' })
            .catch((e) => console.warn(`This page cannot be kept for playing offline: ${e.message || e}`));
    });
})();
