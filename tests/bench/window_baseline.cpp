// The resident memory any SDL 1.2 window with OpenGL costs on this machine,
// for reading the game's own figure against: a 1024 x 768 window that draws
// one blended, textured quad over a few frames, then prints its peak (VmHWM).
#include <SDL/SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int WIDTH = 1024, HEIGHT = 768;
constexpr int TEXTURE_SIDE = 64;
constexpr int FRAMES = 30;

void drawQuad()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(1, 0);
    glVertex2i(WIDTH, 0);
    glTexCoord2f(1, 1);
    glVertex2i(WIDTH, HEIGHT);
    glTexCoord2f(0, 1);
    glVertex2i(0, HEIGHT);
    glEnd();
    SDL_GL_SwapBuffers();
}

void setUpTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const std::vector<unsigned char> texels(TEXTURE_SIDE * TEXTURE_SIDE * 4, 200);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TEXTURE_SIDE, TEXTURE_SIDE, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

bool printPeak()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return false;
    char line[256];
    bool found = false;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            std::fputs(line, stdout);
            found = true;
        }
    std::fclose(status);
    return found;
}

} // namespace

int main()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(WIDTH, HEIGHT, 32, SDL_OPENGL)) {
        SDL_Quit();
        return 1;
    }
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, WIDTH, HEIGHT, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    setUpTexture();
    for (int i = 0; i < FRAMES; ++i)
        drawQuad();
    const bool printed = printPeak();
    SDL_Quit();
    return printed ? 0 : 1;
}
