// Runner of the window suites: one QApplication for all of them, on the offscreen platform
// unless the caller chose another (QT_QPA_PLATFORM=xcb under Xvfb to watch them).
#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its settings under XDG_CONFIG_HOME; the suites must not see the
    // developer's own, nor leave any behind.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Klovenix"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
