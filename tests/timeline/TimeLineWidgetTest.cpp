#include "tests/support/TestEnv.h"
#include "tests/timeline/ControlFixture.h"

#include <QImage>

TEST(TimeLineWidget, Screenshot)
{
    CControlFixture f(QSize(300, 420));
    f.Show();
    f.LoadDay();
    f.m_ctrl->SetTimeHHMM(1);
    f.m_ctrl->SetStartPosHour(7);
    f.Pump();
    const QImage image = f.m_window.grab().toImage();
    if (!qEnvironmentVariableIsEmpty("KELVANE_SCREENSHOT"))
        image.save(qEnvironmentVariable("KELVANE_SCREENSHOT"));
    EXPECT_FALSE(image.isNull());
}
