// The floor for a switch of display mode: SDL2 and OpenGL tear down and
// bring up the video system, a window and a context, and present a cleared
// frame, with nothing of the game. Prints the milliseconds per switch and how
// much the heap grew from the 20th switch to the last.
#include <GL/gl.h>
#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

int main(int argc, char** argv) {
    int switches = argc > 1 ? std::atoi(argv[1]) : 200;
    size_t heapAt20 = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < switches; ++i) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        Uint32 mode = i % 2 ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
        SDL_Window* window = SDL_CreateWindow("Vantrel Remake", 0, 0, 640, 480, SDL_WINDOW_OPENGL | mode);
        SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
        if (!context) return 1;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        glFinish();
        SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (i == 19) heapAt20 = mallinfo2().uordblks;
    }
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %ld\n", took.count() / switches, (long(mallinfo2().uordblks) - long(heapAt20)) / 1024);
    return 0;
}
