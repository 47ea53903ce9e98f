// The program's facts reach the platform through the bundle's information
// keys: the document type the files recognise, the temporaries' names, the
// preference file. With the program's own bundle nothing a user has on disk
// moves; with another bundle the platform follows it.
#include "files_helpers.h"
#include "platform/bundle.h"
#include "platform/files.h"
#include "platform/prefs.h"

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

using namespace filetest;

namespace
{

constexpr std::uint32_t kFieldbookType = 0x44467473;    // "DFts", the first character high
constexpr std::uint32_t kFieldbookCreator = 0x44466170; // "DFap"

std::string sourceInfoPlist()
{
    std::ifstream in(std::string(QRL_SOURCE_DIR) + "/resources/Info.plist");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void replaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

class BundleFacts : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    void TearDown() override { platform::setBundleRoot(""); }

    // A bundle whose Info.plist is the program's with these replacements.
    void useBundleWith(const std::vector<std::pair<std::string, std::string>> &changes)
    {
        std::string plist = sourceInfoPlist();
        ASSERT_FALSE(plist.empty());
        for (const auto &[from, to] : changes)
            replaceAll(plist, from, to);
        std::ofstream(bundle + "/Info.plist") << plist;
        platform::setBundleRoot(bundle);
    }
    platform::FileCodes infoOf(const std::string &name)
    {
        writeFile(folder + "/" + name, Bytes(280, 0));
        const auto codes = platform::fileCodes(folder + "/" + name);
        EXPECT_TRUE(codes) << name;
        return codes.value_or(platform::FileCodes{});
    }

    QTemporaryDir config;
    std::string bundle = qrltest::TempFolder();
    std::string folder = qrltest::TempFolder();
};

} // namespace

TEST_F(BundleFacts, TheProgramsBundleKeepsEverythingWhereItWas)
{
    EXPECT_EQ(kDocumentFileType, platform::documentType());
    EXPECT_EQ(kDocumentFileCreator, platform::documentCreator());
    EXPECT_EQ("qrtb", platform::typeExtension(kDocumentFileType));
    EXPECT_EQ(".quorlscope-save-", AtomicSave::temporaryPrefix());
    EXPECT_EQ(config.path().toStdString() + "/Quorlscope/Quorlscope.conf",
              platform::preferences().fileName().toStdString());
    const platform::FileCodes info = infoOf("Table.QRTB");
    EXPECT_EQ(kDocumentFileType, info.type);
    EXPECT_EQ(kDocumentFileCreator, info.creator);
    EXPECT_EQ(0u, infoOf("Table.txt").type);
}

TEST_F(BundleFacts, AnotherBundleGivesAnotherDocumentTypeNameAndPreferenceFile)
{
    useBundleWith({{"<string>qrtb</string>", "<string>dfts</string>"},
                   {"<string>QRTb</string>", "<string>DFts</string>"},
                   {"<string>QRLF</string>", "<string>DFap</string>"},
                   {"org.quorlscope.Quorlscope", "org.example.Fieldbook"},
                   {"<key>CFBundleExecutable</key>\n <string>Quorlscope</string>",
                    "<key>CFBundleExecutable</key>\n <string>Fieldbook</string>"}});
    EXPECT_EQ(kFieldbookType, platform::documentType());
    EXPECT_EQ("dfts", platform::typeExtension(kFieldbookType));
    EXPECT_EQ("", platform::typeExtension(kDocumentFileType));
    EXPECT_EQ(".fieldbook-save-", AtomicSave::temporaryPrefix());
    EXPECT_EQ(config.path().toStdString() + "/Fieldbook/Fieldbook.conf",
              platform::preferences().fileName().toStdString());
    const platform::FileCodes info = infoOf("Table.dfts");
    EXPECT_EQ(kFieldbookType, info.type);
    EXPECT_EQ(kFieldbookCreator, info.creator);
    EXPECT_EQ(0u, infoOf("Table.qrtb").type);
}
