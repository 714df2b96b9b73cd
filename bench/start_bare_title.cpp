// The floor for starting, with the game's first frame: SDL2 and OpenGL bring
// up the same window and context, SDL2_image decodes the title picture, the
// driver takes it as a texture and draws it over the window with the game's
// drawing state, and the frame is presented. Nothing else of the game.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

int main() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("Vantrel Remake", 0, 0, 640, 480,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) return 1;
    SDL_ShowWindow(window);
    SDL_RWops* file = SDL_RWFromFile("data/vantreltitle.jpg", "rb");
    SDL_Surface* title = file ? IMG_LoadJPG_RW(file) : nullptr;
    if (!title) return 1;
    GLuint texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, title->w, title->h, 0, GL_RGB, GL_UNSIGNED_BYTE, title->pixels);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0, 1); glVertex2f(-1, -1);
    glTexCoord2f(1, 1); glVertex2f(1, -1);
    glTexCoord2f(0, 0); glVertex2f(-1, 1);
    glTexCoord2f(1, 1); glVertex2f(1, -1);
    glTexCoord2f(1, 0); glVertex2f(1, 1);
    glTexCoord2f(0, 0); glVertex2f(-1, 1);
    glEnd();
    SDL_GL_SwapWindow(window);
    glFinish();
    _exit(0);
}
