// Tivoro's service worker: after one visit the page plays with the network gone, and
// installed as an app it starts from its icon.
//
// cmake/Sito.cmake writes in the build's version (a hash of the program's files, which lie
// in a folder named by it) and every file the page needs. A new build changes this file,
// so the browser installs the new worker at the next visit with the network on; it stores
// the new build whole, then takes over and drops the old one.
'use strict';
const VERSIONE = '@TIVORO_VERSIONE@';
const FILE = [@TIVORO_FILE@];
// One store per build and per place: copies of Tivoro in two folders of one server keep
// theirs apart.
const PREFISSO = 'tivoro ' + self.registration.scope + ' ';
const NEGOZIO = PREFISSO + VERSIONE;
// How long the page waits for the server before it plays the stored build.
const ATTESA_RETE_MS = 4000;

self.addEventListener('install', evento => {
  // The page and the manifest may have changed in place: asked again, not taken from the
  // browser's cache. The program's files are named by their content.
  evento.waitUntil(caches.open(NEGOZIO)
    .then(negozio => negozio.addAll(FILE.map(f =>
      new Request(f, {cache: f.startsWith('tivoro-') ? 'default' : 'no-cache'}))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', evento => {
  evento.waitUntil(caches.keys()
    .then(nomi => Promise.all(nomi.filter(n => n.startsWith(PREFISSO) && n !== NEGOZIO)
      .map(n => caches.delete(n))))
    .then(() => self.clients.claim()));
});

function dalNegozio(richiesta) {
  return caches.open(NEGOZIO).then(negozio => negozio.match(richiesta, {ignoreSearch: true}));
}

// The page comes from the server while there is one, so that a new build is played at the
// next visit; when the server does not answer (in time, or at all) the stored page plays.
// It names the folder of its own program, so the page and its program always match.
function pagina(richiesta) {
  const rete = fetch(richiesta.url, {cache: 'no-cache', credentials: 'same-origin'})
    .then(risposta => risposta.ok ? risposta : Promise.reject(new Error(risposta.status)));
  const tardi = new Promise((_, no) => setTimeout(() => no(new Error('tardi')), ATTESA_RETE_MS));
  return Promise.race([rete, tardi]).catch(errore =>
    dalNegozio(richiesta).then(copia => copia || rete));
}

self.addEventListener('fetch', evento => {
  const richiesta = evento.request;
  if (richiesta.method !== 'GET' || !richiesta.url.startsWith(self.registration.scope))
    return;
  if (richiesta.mode === 'navigate') {
    evento.respondWith(pagina(richiesta));
    return;
  }
  evento.respondWith(dalNegozio(richiesta).then(copia => copia || fetch(richiesta)));
});
