#include "programstart.h"

#include "firstframe.h"
#include "targetfiles.h"

void ProgramStart::run()
{
    m_forms = std::make_unique<Forms>(RangeServices {m_random, m_files, m_pictures});
    showUntilFirstFrame(m_forms->frmMain());
}

QSize ProgramStart::windowSize() const
{
    return m_forms ? m_forms->frmMain().size() : QSize();
}

QSize gameWindowSize(const TargetFolder &folder)
{
    folder.enter();
    ProgramStart start;
    start.run();
    return start.windowSize();
}
