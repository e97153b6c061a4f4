// Linked into the page (cmake/Web.cmake). The engine's only render target is the 640 x 480 RGBA back
// buffer, which WebGL always accepts as a framebuffer. Asking WebGL whether it is complete, as SDL
// does each time Flip switches targets, makes the page wait until everything queued has been drawn:
// most of a frame on a software rasteriser, and no overlap of the game's work with the drawing.
mergeInto(LibraryManager.library, {
  glCheckFramebufferStatus: function(target) {
    return 0x8CD5; // GL_FRAMEBUFFER_COMPLETE
  },
  emscripten_glCheckFramebufferStatus: function(target) {
    return 0x8CD5;
  },
});
