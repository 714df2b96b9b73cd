// Draws every picture the game shows into a directory:
//
//   vantrel-art DIR [--preview FILE.png]
//
// The same program run twice writes the same bytes. With --preview it also
// writes a contact sheet of the pictures as the game shows them.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "output.h"
#include "pictures.h"
#include "preview.h"
#include "text.h"

int main(int argc, char** argv) {
    using namespace art;
    std::string dir, preview;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc)
            preview = argv[++i];
        else if (dir.empty() && argv[i][0] != '-')
            dir = argv[i];
        else {
            dir.clear();
            break;
        }
    }
    if (dir.empty()) {
        std::fprintf(stderr, "usage: %s DIR [--preview FILE.png]\n", argv[0]);
        return 2;
    }
    if ((IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG) & (IMG_INIT_JPG | IMG_INIT_PNG)) != (IMG_INIT_JPG | IMG_INIT_PNG))
        fail(std::string("SDL2_image cannot write JPEG and PNG: ") + IMG_GetError());
    startText();

    Pictures pictures;
    addFont(pictures);
    addPlayer(pictures);
    addStair(pictures);
    addLife(pictures);
    addExplosion(pictures);
    addGameOver(pictures);
    addEnemies(pictures);
    addItems(pictures);
    addTitle(pictures);
    addIcon(pictures);

    for (const Picture& p : pictures) {
        std::string path = dir + "/" + p.file;
        if (p.jpegQuality > 0)
            writeJpeg(path, p.canvas, p.jpegQuality);
        else if (isPng(p.file))
            writePng(path, p.canvas);
        else
            writeTga(path, p.canvas, p.channels);
    }
    std::printf("art: %zu pictures in %s\n", pictures.size(), dir.c_str());
    if (!preview.empty()) {
        writePng(preview, makePreview(dir, pictures));
        std::printf("art: preview in %s\n", preview.c_str());
    }
    stopText();
    IMG_Quit();
    return 0;
}
