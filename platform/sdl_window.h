// Platform-internal access to the SDL window, for the OpenGL and audio backends in platform/.
#pragma once
struct SDL_Window;
SDL_Window* platSdlWindow();
