// The player's user folder (players, progress, options, scores) lives in the browser's IndexedDB:
// it is mounted and read back before the program starts, and written back after every save the
// program reports through Module.mmUserFilesChanged. Writes that come while one is under way are
// gathered into one more, so a burst of saves costs two writes at most and none is lost.
var mmUserRoot = '/home/web_user/.local/share';
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdirTree(mmUserRoot);
  FS.mount(IDBFS, {}, mmUserRoot);
  addRunDependency('user-folder');
  FS.syncfs(true, function (err) {
    if (err) console.warn('user folder: could not be read from the browser storage: ' + err);
    removeRunDependency('user-folder');
  });
});

var mmSync = { running: false, again: false, done: 0, failed: 0 };
Module['mmUserFilesChanged'] = function () {
  if (mmSync.running) {
    mmSync.again = true;
    return;
  }
  mmSync.running = true;
  FS.syncfs(false, function (err) {
    mmSync.running = false;
    if (err) {
      mmSync.failed++;
      console.warn('user folder: could not be saved to the browser storage: ' + err);
    } else {
      mmSync.done++;
    }
    if (mmSync.again) {
      mmSync.again = false;
      Module['mmUserFilesChanged']();
    }
  });
};
// How many writes to the browser storage have finished (tests wait for the one after a save).
Module['mmUserFilesSaved'] = function () { return { done: mmSync.done, failed: mmSync.failed, busy: mmSync.running || mmSync.again }; };
