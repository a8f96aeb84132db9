#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "PlatformTestFiles.h"
#include "platform/ShippedFiles.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

// An installed tree: <prefix>/bin and the shipped files under <prefix>/share.
class InstalledTree {
  public:
    InstalledTree() {
        QDir(m_prefix.path()).mkpath("bin");
        QDir(m_prefix.path()).mkpath("share/quillgate");
        QDir(m_prefix.path()).mkpath("share/doc/quillgate/manual");
    }
    QString bin() const { return m_prefix.filePath("bin"); }
    QString path(const QString& name) const { return m_prefix.filePath(name); }

  private:
    QTemporaryDir m_prefix;
};

TEST(ShippedFiles, InstalledFilesComeFirst) {
    InstalledTree tree;
    ASSERT_TRUE(test::writeFile(tree.path("share/quillgate/qltdict.dat"), "x"));
    ASSERT_TRUE(test::writeFile(tree.path("share/doc/quillgate/manual/index.html"), "<html>"));
    EXPECT_EQ(shippedDataFolder(tree.bin()), tree.path("share/quillgate"));
    EXPECT_EQ(manualIndexFile(tree.bin()), tree.path("share/doc/quillgate/manual/index.html"));
}

TEST(ShippedFiles, TheSourceTreeServesAProgramRunFromItsBuild) {
    InstalledTree empty;  // folders there, files missing: not an installation
    EXPECT_EQ(shippedDataFolder(empty.bin()), QDir::cleanPath(QString::fromStdString(test::resPath(""))));
    const QString manual = manualIndexFile(empty.bin());
    EXPECT_TRUE(manual.endsWith("docs/manual/index.html")) << manual.toStdString();
    EXPECT_TRUE(QFileInfo(manual).isFile());
}

}  // namespace
}  // namespace qlt
