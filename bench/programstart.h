#pragma once

#include "benchrandom.h"

#include "forms.h"
#include "pictureset.h"
#include "targetpictures.h"

#include <memory>

class TargetFolder;

// What the program's start does, in this process: the keeper of the windows is made and the
// main window referenced, which builds and loads it (definition, icon, cursors, Form_Load
// counting the pictures of the current directory); then it is shown up to its first frame.
class ProgramStart
{
public:
    void run();
    // The main window's size as it first shows, menu bar included.
    QSize windowSize() const;
    // Unloads the windows.
    void end() { m_forms.reset(); }

private:
    FixedSeedRandom m_random;
    DiskFileLookup m_files;
    DiskPictureLoader m_pictures;
    std::unique_ptr<Forms> m_forms;
};

// The main window's size, from a start of the program over the folder's pictures.
QSize gameWindowSize(const TargetFolder &folder);
