#pragma once
// Makes every front-end screen once, as start-up makes every window.
void CreateFrontEndScreens();
