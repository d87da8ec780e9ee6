// A fault of this Emscripten's in-memory file system (also under the IndexedDB folder): a rename
// over an existing file leaves the replaced file in the file system's name table, and once the new
// file is removed, opening the name finds the old one again, with its old contents. Every save of
// ours is such a rename (a temporary file over the old document), so the replaced file is taken
// out of the table here, as a rename on a disk leaves nothing of it.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var rename = FS.rename;
  FS.rename = function (oldPath, newPath) {
    var replaced = null;
    try {
      replaced = FS.lookupPath(newPath).node;
    } catch (e) {
      // nothing there yet
    }
    rename(oldPath, newPath);
    if (replaced && replaced !== FS.lookupPath(newPath).node && !FS.isDir(replaced.mode)) FS.hashRemoveNode(replaced);
  };
});
