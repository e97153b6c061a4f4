// Linked after the game's script (cmake/Web.cmake: --post-js), where Emscripten's file system is in
// reach; the page itself never sees it. The player's folder /vevu is IndexedDB's (IDBFS): loaded once
// before the game's first read, and copied back to IndexedDB at each change the game makes (a session
// being recorded: every few seconds) and whenever the page asks (when it is hidden: the last event a
// phone's browser reliably sends before it discards a tab). The page learns of trouble through
// Module.onFilesProblem(text, values) and of its end through Module.onFilesSaved(). One tab at a time keeps
// the folder: the first holds a lock of the Web Locks API for its life, and a second tab (the page opened
// twice) reads the files as they were and never copies its own over them.
(function () {
  "use strict";
  var FOLDER = "/vevu";
  var LOCK_NAME = "vevu-player-files";
  // A copy the browser never answers (a storage that hangs) is given up after this long, so that saves
  // neither pile up behind it nor wait for good.
  var SYNC_LIMIT_MS = 10000;
  var mounted = false, askedToPersist = false, failing = false;
  var heldElsewhere = false, holding = null;
  var inFlight = false, waiting = [];
  var state = Module["vevuFiles"] = {saved: 0, failed: 0, busy: false};

  // The page shows the line in the player's language: it takes the English words (the catalogue's key)
  // and the values of their blanks (%s).
  function tell(hook, text, values) {
    values = values || [];
    var index = 0;
    if (text) console.log(text.replace(/%s/g, function () { return values[index++]; }));
    if (Module[hook]) {
      try {
        Module[hook](text, values);
      } catch (error) {
        console.log("The page could not show a line about the player's files: " + error.message);
      }
    }
  }
  function reason(error) {
    if (!error) return "unknown error";
    if (error.message) return error.message;
    return typeof error === "number" ? "error " + error : String(error);
  }

  // Loads the folder from IndexedDB; 1 when it is there, 0 when the files live in memory only.
  Module["vevuMountFiles"] = function () {
    try {
      FS.mkdirTree(FOLDER);
    } catch (error) {}
    var idb;
    try {
      idb = window.indexedDB;
    } catch (error) {} // a browser set to keep no site data throws here
    if (!idb) {
      tell("onFilesProblem", "This browser keeps no files for the game: it plays on, but the campaign, " +
                             "the settings and the recorded sessions are gone once the page closes.");
      return Promise.resolve(0);
    }
    return new Promise(function (resolve) {
      var settled = false;
      function settle(error) {
        if (settled) return;
        settled = true;
        clearTimeout(timer);
        if (error) {
          // A folder that did not load is never copied back: IndexedDB would lose every file it holds.
          tell("onFilesProblem", "The game's saved files could not be read from this browser (%s): it plays " +
                                 "on without them and saves nothing over them.", [reason(error)]);
          resolve(0);
          return;
        }
        mounted = true;
        resolve(1);
      }
      var timer = setTimeout(function () {
        settle(new Error("the browser's storage gave no answer in " + SYNC_LIMIT_MS / 1000 + " s"));
      }, SYNC_LIMIT_MS);
      try {
        FS.mount(IDBFS, {}, FOLDER);
        FS.syncfs(true, settle);
      } catch (error) {
        settle(error);
      }
    });
  };

  // The engine's question before it writes: 1 when this tab holds the folder, 0 when another tab does,
  // -1 when the browser has no locks (every tab then writes, as before there were any). A tab reloaded or
  // closed gives its lock up as it goes, which may take a moment: the lock is waited for that long.
  var LOCK_WAIT_MS = 3000;
  Module["vevuHoldFolder"] = function () {
    if (holding) return holding;
    var locks;
    try {
      locks = navigator.locks;
    } catch (error) {}
    if (!locks || !locks.request) return Promise.resolve(-1);
    holding = new Promise(function (resolve) {
      var giveUp = typeof AbortController === "function" ? new AbortController() : null;
      var timer = giveUp ? setTimeout(function () { giveUp.abort(); }, LOCK_WAIT_MS) : null;
      function elsewhere() {
        heldElsewhere = true;
        resolve(0);
      }
      try {
        locks.request(LOCK_NAME, giveUp ? {signal: giveUp.signal} : {ifAvailable: true}, function (lock) {
          clearTimeout(timer);
          if (!lock) {
            elsewhere();
            return undefined;
          }
          resolve(1);
          return new Promise(function () {}); // held until the page closes
        }).catch(function (error) {
          if (error && error.name === "AbortError") {
            elsewhere();
            return;
          }
          console.log("The browser gave no lock on the game's files (" + reason(error) + ").");
          resolve(-1);
        });
      } catch (error) {
        clearTimeout(timer);
        resolve(-1);
      }
    });
    return holding;
  };

  function askToPersist() {
    if (askedToPersist) return;
    askedToPersist = true;
    // Without it the browser may clear the site's data when the device runs short of room.
    if (navigator.storage && navigator.storage.persist) {
      navigator.storage.persist().then(function (granted) {
        console.log("The browser keeps the game's files " + (granted ? "for good" : "while it has room") + ".");
      }, function () {});
    }
  }

  var RETRY_FIRST_MS = 1000, RETRY_MOST_MS = 60000;
  var retryTimer = null, retryPauseMs = RETRY_FIRST_MS;

  // One copy at a time; saves asked for meanwhile share the next copy. Resolves to true once the files
  // as they were when asked are in IndexedDB.
  function copyToBrowser() {
    var mine = waiting;
    waiting = [];
    inFlight = state.busy = true;
    var done = false;
    function finish(error) {
      if (done) return;
      done = true;
      clearTimeout(timer);
      inFlight = state.busy = false;
      if (error) {
        ++state.failed;
        if (!failing)
          tell("onFilesProblem", "The game's files could not be saved in this browser (%s): it plays on " +
                                 "and tries again.", [reason(error)]);
        failing = true;
        // Tried again after a pause that grows from a second to a minute, as the desktop's writes are.
        if (retryTimer === null) {
          retryTimer = setTimeout(function () {
            retryTimer = null;
            Module["vevuSaveFiles"]();
          }, retryPauseMs);
          retryPauseMs = Math.min(retryPauseMs * 2, RETRY_MOST_MS);
        }
      } else {
        ++state.saved;
        retryPauseMs = RETRY_FIRST_MS;
        if (failing) {
          failing = false;
          tell("onFilesSaved", null);
        }
      }
      mine.forEach(function (resolve) { resolve(!error); });
      if (waiting.length) copyToBrowser();
    }
    var timer = setTimeout(function () {
      // The copy given up no longer counts as in flight, or every later one would warn of two at once.
      if (FS.syncFSRequests > 0) --FS.syncFSRequests;
      finish(new Error("the browser's storage gave no answer in " + SYNC_LIMIT_MS / 1000 + " s"));
    }, SYNC_LIMIT_MS);
    try {
      FS.syncfs(false, finish);
    } catch (error) {
      finish(error);
    }
  }
  Module["vevuSaveFiles"] = function () {
    // Another tab's files are in IndexedDB: a copy from this one would undo its saves.
    if (!mounted || heldElsewhere) return Promise.resolve(false);
    askToPersist();
    return new Promise(function (resolve) {
      waiting.push(resolve);
      if (!inFlight) copyToBrowser();
    });
  };
  // The engine's call after each file it writes.
  Module["vevuFilesWritten"] = function () {
    Module["vevuSaveFiles"]();
  };
  // The engine's call after it writes a file as it goes (the session being recorded, every second): one
  // copy at most every ASIDE_EVERY_MS, so that a tab that crashes or is killed while shown, which sends no
  // event to copy on, still keeps the session up to a few seconds before.
  var ASIDE_EVERY_MS = 2000;
  var asideTimer = null;
  Module["vevuFilesWrittenAside"] = function () {
    if (asideTimer !== null) return;
    asideTimer = setTimeout(function () {
      asideTimer = null;
      Module["vevuSaveFiles"]();
    }, ASIDE_EVERY_MS);
  };
})();

// Replay files: one the page is given (dropped on it, or opened) is watched, and the newest session
// recorded is handed to the page for the player to keep as a file.
(function () {
  "use strict";
  var OPENED = "/opened"; // in memory only: a file opened is watched, not kept

  // Writes the file's bytes where the game can read them and hands the game its path, as a file dropped
  // on a window is. Only the last one given is kept: the game watches no more than that.
  Module["vevuOpenReplay"] = function (name, bytes) {
    try {
      FS.readdir(OPENED).forEach(function (entry) {
        if (entry !== "." && entry !== "..") FS.unlink(OPENED + "/" + entry);
      });
    } catch (error) {
      FS.mkdirTree(OPENED);
    }
    // The name is the player's to see in the game, never a path.
    var safe = String(name).split(/[\\/]/).pop().replace(/[^\w .()+-]/g, "_").slice(-100) || "replay.vrp";
    var path = OPENED + "/" + safe;
    FS.writeFile(path, bytes);
    var text = allocateUTF8(path);
    try {
      Module["_vevu_open_replay"](text);
    } finally {
      _free(text);
    }
  };

  // The newest session in the player's replays folder: {name, bytes}, or null when none is recorded.
  Module["vevuNewestSession"] = function () {
    var folder = "/vevu/replays", newest = null;
    var names;
    try {
      names = FS.readdir(folder);
    } catch (error) {
      return null;
    }
    names.forEach(function (name) {
      if (!/\.vrp$/.test(name)) return;
      var stat = FS.stat(folder + "/" + name);
      if (!FS.isFile(stat.mode)) return;
      if (!newest || stat.mtime > newest.mtime || (+stat.mtime === +newest.mtime && name > newest.name))
        newest = {name: name, mtime: stat.mtime};
    });
    return newest && {name: newest.name, bytes: FS.readFile(folder + "/" + newest.name)};
  };
})();
