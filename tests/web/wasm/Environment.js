// Hands the test programs the environment node was started with; emscripten's C library
// otherwise sees only a made-up one.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  const name = 'SPHEROLETTE_SOURCE_DIR';
  if (process.env[name] !== undefined) ENV[name] = process.env[name];
});
