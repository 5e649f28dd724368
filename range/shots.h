#pragma once

#include <Qt>

class Field;

// The player's shots: a click on a target is a hit and turns it into a fireball; a press
// anywhere else on the field is a miss and leaves the bullet-hole marker there until the next
// tick. The counts live in the score captions; New Game clears them.
class Shots
{
public:
    explicit Shots(Field &field);

    // A click on the hole with this index.
    void picHole_Click(int index);
    // A press of any mouse button on the field frame, at X, Y twips from its top-left corner.
    void fraField_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float X, float Y);
    // File > New Game: clears the three captions and nothing else.
    void mnuNew_Click();

private:
    Field &m_field;
};
