#pragma once
// Thread vocabulary used in header comments across the project.
//
//   [audio-thread]  the host's audio or offline render thread (lock index 0).
//                   Must not allocate, wait on the network, or wait for the UI.
//   [ui-thread]     the host's user-interface thread (lock index 1), including
//                   timers and the idle service.
//   [any-thread]    safe from either side, and from worker threads.
//   & active        only between activation (selector 5) and deactivation (6).
//   & locked        the caller holds the named critical section.
