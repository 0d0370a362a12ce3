// Every front-end screen, made once.
#include "screens/FrontEndScreens.h"

#include "screens/ConfirmDeletePlayerMenu.h"
#include "screens/ConsoleScreen.h"
#include "screens/CreditsWindow.h"
#include "screens/GameMenu.h"
#include "screens/IntroScreen.h"
#include "screens/MainMenu.h"
#include "screens/NewPlayerWindow.h"
#include "screens/OptionsWindow.h"
#include "screens/PlayerListBox.h"
#include "screens/PlayerMenu.h"
#include "screens/PlayerNameEditBox.h"
#include "screens/PlayerSelectWindow.h"
#include "screens/SplashScreen.h"
#include "screens/WormsWindow.h"

void CreateFrontEndScreens() {
    GetMainMenu();
    GetPlayerMenu();
    GetGameMenu();
    GetPlayerSelectWindow();
    GetPlayerListBox();
    GetConfirmDeletePlayerMenu();
    GetNewPlayerWindow();
    GetPlayerNameEditBox();
    GetOptionsWindow();
    GetSplashScreen();
    GetIntroScreen();
    GetCreditsWindow();
    GetWormsWindow();
    GetConsoleScreen();
}
