// The engine's configuration file and the search for the engine library.
#include "platform/storage/engineconfig.h"
#include "platform/storage/engineloader.h"
#include "platform/storage/storage.h"
#include "tests/support/tempdir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using namespace storage;
using ::testing::ElementsAre;

namespace {

// Points the engine's configuration at a file of the test's own.
class ConfigFile {
public:
    ConfigFile() { ::setenv("TESSALIND_ENGINE_CONFIG", dir.file("engine.ini").c_str(), 1); }
    ~ConfigFile() { ::unsetenv("TESSALIND_ENGINE_CONFIG"); }
    void write(const std::string& text) { std::ofstream(dir.file("engine.ini")) << text; }
    TempDir dir;
};

TEST(EngineConfigTest, ParsesAliasesAndTheLibraryDirectory)
{
    const EngineConfig config = EngineConfig::parse("; comment\n[Aliases]\n Tessalind = /data/t \nOutro=/x\n\n"
                                                    "[Engine]\nDLLPATH=/opt/lib\nOTHER=1\n[Later]\nA=B\n",
                                                    "engine.ini");
    EXPECT_FALSE(config.isDefault());
    EXPECT_EQ(config.alias("tessalind"), "/data/t");
    EXPECT_EQ(config.alias("OUTRO"), "/x");
    EXPECT_EQ(config.alias("A"), std::nullopt);
    EXPECT_EQ(config.dllPath(), "/opt/lib");
}

TEST(EngineConfigTest, RefusesMalformedFilesNamingTheLine)
{
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case c : {Case{"[Aliases\nA=/x\n", "Malformed section header in the engine configuration\nFile: f.ini\nLine: 1"},
                         Case{"[Aliases]\njust words\n", "Expected NAME=VALUE in the engine configuration\nFile: f.ini\nLine: 2"},
                         Case{"[Aliases]\nA=/x\na=/y\n", "Alias 'a' is defined twice\nFile: f.ini\nLine: 3"}}) {
        try {
            EngineConfig::parse(c.text, "f.ini");
            ADD_FAILURE() << c.text;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), code::InvalidConfiguration);
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST(EngineConfigTest, WithoutAFileTheDefaultAliasIsOverTheDataDirectory)
{
    ConfigFile file;
    const std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", file.dir.file("share").c_str(), 1);
    const EngineConfig config = EngineConfig::load();
    EXPECT_TRUE(config.isDefault());
    EXPECT_EQ(config.alias("Tessalind"), file.dir.file("share") + "/tessalind");
    if (oldData.empty())
        ::unsetenv("XDG_DATA_HOME");
    else
        ::setenv("XDG_DATA_HOME", oldData.c_str(), 1);
}

TEST(EngineConfigTest, AliasesSetThroughTheEngineAreSavedAndSeenAtOnce)
{
    ConfigFile file;
    file.write("[Aliases]\nA=/a\n[Engine]\nDLLPATH=/opt/lib\n");
    Engine& engine = Engine::instance();
    engine.setAlias("Livros", file.dir.path());
    EXPECT_EQ(engine.resolveDatabase("livros"), file.dir.path());
    EXPECT_FALSE(engine.usingDefaultConfiguration());
    const EngineConfig saved = EngineConfig::load();
    EXPECT_EQ(saved.alias("A"), "/a");
    EXPECT_EQ(saved.dllPath(), "/opt/lib");
    engine.removeAlias("LIVROS");
    try {
        engine.resolveDatabase("Livros");
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), code::AliasNotFound);
        EXPECT_EQ(e.message(), "Unknown database alias\nAlias: Livros");
    }
    for (const auto& [name, directory] : std::vector<std::pair<std::string, std::string>>{
             {"", "/x"}, {" A", "/x"}, {"A=B", "/x"}, {"A", "relative/dir"}, {"A", "/x\ny"}}) {
        EXPECT_THROW(engine.setAlias(name, directory), EngineError) << name << " " << directory;
    }
    EXPECT_EQ(EngineConfig::load().aliases().size(), 1u);
}

TEST(EngineLoaderTest, SearchesTheConfiguredThenTheProgramsDirectoryNeverTheCurrentOne)
{
    const std::vector<std::string> withPath = EngineLoader::candidates(std::string("/opt/engine"));
    ASSERT_EQ(withPath.size(), 4u);
    EXPECT_EQ(withPath[0], "/opt/engine/libtessalind-engine.so");
    EXPECT_EQ(withPath[3], "libtessalind-engine.so");
    for (const std::string& candidate : withPath)
        EXPECT_TRUE(candidate.front() == '/' || candidate.find('/') == std::string::npos) << candidate;
    // A relative DLLPATH would mean the current directory: it is not taken.
    EXPECT_EQ(EngineLoader::candidates(std::string("lib")).size(), 3u);
    EXPECT_EQ(EngineLoader::candidates(std::nullopt).size(), 3u);
}

TEST(EngineLoaderTest, FailuresGiveTheInitialisationErrorWithTheirCode)
{
    TempDir dir;
    std::ofstream(dir.file("libtessalind-engine.so")) << "not a library";
    struct Case {
        std::vector<std::string> candidates;
        std::uint16_t code;
    };
    for (const Case& c : std::vector<Case>{{{dir.file("libtessalind-engine.so")}, initcode::LibraryNotLoadable},
                                           {{dir.file("missing.so")}, initcode::LibraryNotFound},
                                           {{"libtessalind-engine-that-is-nowhere.so"}, initcode::LibraryNotFound},
                                           {{"libm.so.6"}, initcode::NoEntryPoint}}) {
        try {
            EngineLoader::load(c.candidates);
            ADD_FAILURE() << c.candidates.front();
        } catch (const EngineInitError& e) {
            EXPECT_EQ(e.code(), c.code) << c.candidates.front();
            char expected[120];
            std::snprintf(expected, sizeof expected,
                          "An error occurred while attempting to initialize the database engine (error $%.4x)", c.code);
            EXPECT_EQ(e.message(), expected);
        }
    }
    // The first candidate that exists is the one: a broken library planted in
    // the configured directory is not skipped for another.
    EXPECT_THROW(EngineLoader::load({dir.file("libtessalind-engine.so"), "libm.so.6"}), EngineInitError);
}

}  // namespace
