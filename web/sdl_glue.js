// What SDL 2.26's browser code expects of the Emscripten runtime and this older runtime does not
// give it: a call through the function table (the audio callback), and a helper that lets a
// suspended audio context play once the player has clicked or pressed a key (browsers start every
// page's sound suspended; the page's own handlers do the same).
function dynCall(sig, ptr, args) {
  var fn = typeof getWasmTableEntry === 'function' ? getWasmTableEntry(ptr) : wasmTable.get(ptr);
  return fn.apply(null, args || []);
}
function autoResumeAudioContext(ctx) {
  ['keydown', 'mousedown', 'touchstart'].forEach(function (kind) {
    document.addEventListener(kind, function resume() {
      if (ctx.state === 'suspended') ctx.resume();
      document.removeEventListener(kind, resume);
    });
  });
}
