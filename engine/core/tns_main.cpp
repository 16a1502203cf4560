// The program's entry: main() hands over to WinMain, which runs the game's
// GameMain under the single-instance guard "Tarnis App". Kept out of the engine
// library so that test programs can link the engine with their own main().
#include "engine/core/tns_window.h"

int WinMain(HINSTANCE instance, HINSTANCE, char*, int)
{
    return TNS_RunEntry(instance, "Tarnis App", GameMain);
}

int main()
{
    return WinMain(nullptr, nullptr, nullptr, 0);
}
