#pragma once

class QThreadPool;

// Vexilo's own threads for work kept off the window's thread. Not Qt's global pool: the window's
// painting hands parts of its work (scaling and filling images) to that pool and waits for them,
// so a selection's slow scan or a hanging tool there would freeze the window after all. The pools
// live until the program ends: work still running then (a hanging tool) is not waited for.
namespace WorkPools {

// Reading what a selection shows, the catalogue, the running copies.
QThreadPool *gathering();
// Launch work: a thread that stays ready, so that Launch never waits behind a selection's
// scan, nor for a thread to be made.
QThreadPool *launching();

} // namespace WorkPools
