#pragma once
// The interface pictures that player-coloured copies are made from. Start-up loads them
// and registers each under its file name; a name never registered answers none.
class Image;
class String;

void RegisterSharedBaseImage(const char* name, Image* image);
// Forgets every registration (shutdown).
void ClearSharedBaseImages();
Image* FindSharedBaseImage(const String& name);
