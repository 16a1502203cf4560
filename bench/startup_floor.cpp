// The start-up floor for bench_startup: the least an SDL program does to show
// one 800 x 600 frame (video and audio up, a window, one cleared and presented
// surface). Runs under the same headless drivers and probe as the engine's programs.
#include <SDL.h>

int main(int, char**)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("floor", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 800, 600, 0);
    SDL_Surface* screen = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!screen) return 1;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 20, 20, 40));
    SDL_UpdateWindowSurface(window);
    // Stay up like the measured programs until told to end.
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) {
                SDL_Quit();
                return 0;
            }
        SDL_Delay(5);
    }
}
