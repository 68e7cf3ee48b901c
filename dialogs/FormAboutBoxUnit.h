#pragma once
// The version box.
class TAboutBox;

// Made on first use, kept until the module is unloaded.
extern "C" TAboutBox* _AboutBox;
