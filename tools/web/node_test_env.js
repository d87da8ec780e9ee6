// The web build's tests under node start in a scratch folder of their own, as they do on a desktop
// (ctest runs each test binary in its own work folder), not at the file system's root.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdirTree('/work/tests');
  FS.chdir('/work/tests');
});
