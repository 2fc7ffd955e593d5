// The reading of an import's inputs: files of every kind by their content,
// standard input, pipes and FIFOs as streams with their limit, zip archives,
// all written by the tests themselves.

#include "activity/activitytexts.h"
#include "activity/importreader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <zip.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string withings = "Date,\"Weight (kg)\",\"Fat mass (kg)\"\n"
                             "2026-12-09 07:07:12,56.78,13.24\n2026-12-08 07:06:12,56.98,13.25\n";
const std::string gpx = "<?xml version=\"1.0\"?>\n<gpx><trk><type>walking</type><trkseg>"
                        "<trkpt lat=\"0\" lon=\"0\"><time>2026-12-04T07:00:00Z</time></trkpt>"
                        "<trkpt lat=\"0.01\" lon=\"0\"><time>2026-12-04T07:20:00Z</time></trkpt>"
                        "</trkseg></trk></gpx>\n";
const std::string fitbit =
    "[{\"weight\":125.0,\"fat\":23.1,\"date\":\"12/08/26\",\"time\":\"06:55:12\"}]";

std::string healthExport(const std::string &value)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE HealthData [\n"
           "<!ATTLIST HealthData locale CDATA #REQUIRED>\n]>\n<HealthData locale=\"ja_JP\">\n"
           " <Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"kg\" value=\"" +
           value + "\" startDate=\"2026-12-07 07:02:12 +0900\"/>\n</HealthData>\n";
}

class ImportReader : public testing::Test {
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zph-import-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        directory_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string write(const std::string &name, const std::string &bytes)
    {
        const std::string path = directory_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string writeZip(const std::string &name,
                         const std::vector<std::pair<std::string, std::string>> &entries)
    {
        const std::string path = directory_ + "/" + name;
        int error = 0;
        zip_t *archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        EXPECT_NE(archive, nullptr);
        for (const auto &[entry, bytes] : entries) {
            zip_source_t *source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
            EXPECT_GE(zip_file_add(archive, entry.c_str(), source, ZIP_FL_OVERWRITE), 0);
        }
        EXPECT_EQ(zip_close(archive), 0);
        return path;
    }

    std::string directory_;
};

// Writes `bytes` into a pipe from another thread; the reading end as a
// path, as a shell's `<(cat file)` gives it.
class PipeWriter {
  public:
    explicit PipeWriter(std::string bytes)
    {
        std::signal(SIGPIPE, SIG_IGN); // a reader may stop before the end
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        read_ = ends[0];
        writer_ = std::thread([fd = ends[1], bytes = std::move(bytes)] {
            for (std::size_t done = 0; done < bytes.size();) {
                const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (written <= 0)
                    break; // the reader stopped reading
                done += static_cast<std::size_t>(written);
            }
            ::close(fd);
        });
    }
    ~PipeWriter()
    {
        ::close(read_);
        writer_.join();
    }
    int fd() const { return read_; }
    std::string path() const { return "/dev/fd/" + std::to_string(read_); }

  private:
    int read_ = -1;
    std::thread writer_;
};

// Standard input taken from a pipe for one test.
class ScopedStandardInput {
  public:
    explicit ScopedStandardInput(int fd) : saved_(::dup(STDIN_FILENO)) { ::dup2(fd, STDIN_FILENO); }
    ~ScopedStandardInput()
    {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }

  private:
    int saved_;
};

TEST_F(ImportReader, filesAreReadByTheirContentNotTheirName)
{
    const struct {
        std::string name;
        std::string bytes;
        ActivityFormat format;
        std::size_t patches;
    } cases[] = {
        {"run.gpx", withings, ActivityFormat::withingsCsv, 2},
        {"weight.csv", gpx, ActivityFormat::gpx, 1},
        {"export.xml.txt", healthExport("56.9"), ActivityFormat::appleHealth, 1},
        // A reference the scanner leaves to the full reader: the file is read again.
        {"export.xml", healthExport("5&#54;.9"), ActivityFormat::appleHealth, 1},
    };
    for (const auto &c : cases) {
        const ImportFile file = readImportInput(write(c.name, c.bytes), c.name);
        EXPECT_TRUE(file.ok()) << c.name << ": " << file.error;
        EXPECT_EQ(file.name, c.name);
        EXPECT_EQ(file.format, c.format) << c.name;
        EXPECT_EQ(file.patches.size(), c.patches) << c.name;
    }
    EXPECT_EQ(
        readImportInput(write("export.xml", healthExport("5&#54;.9")), "").patches[0].weightKg,
        56.9);
}

TEST_F(ImportReader, whatCannotBeReadSaysWhy)
{
    // Larger than any file to import, but only its start is ever read.
    const std::string large = write("large.gpx", gpx);
    ASSERT_EQ(::truncate(large.c_str(), 300ll * 1024 * 1024), 0);
    const std::string missing = directory_ + "/missing.gpx";
    const struct {
        std::string path;
        std::string error;
    } cases[] = {
        {directory_, activitytext::notAFile},
        {missing, fillActivityText(activitytext::cannotRead, {"No such file or directory"})},
        {large, fillActivityText(activitytext::inputTooLarge, {"300"})},
        {write("notes.txt", "just some notes\n"), activitytext::notImportFile},
        {write("broken.zip", std::string("PK\x03\x04", 4) + "garbage"),
         "zip ファイルを読めません ("},
        {writeZip("photos.zip", {{"a.jpg", "x"}, {"weight.csv.bak", withings}}),
         activitytext::zipNothingKnown},
    };
    for (const auto &c : cases) {
        const ImportFile file = readImportInput(c.path, "");
        EXPECT_EQ(file.error.substr(0, c.error.size()), c.error) << c.path;
        EXPECT_EQ(file.name, c.path);
    }
    ImportReadOptions stop;
    stop.progress = [](std::uint64_t, std::uint64_t) { return false; };
    EXPECT_EQ(readImportInput(write("a.csv", withings), "", stop).error, activitytext::cancelled);
}

TEST_F(ImportReader, pipesAndStandardInputAreStreamsWithTheLimitOfFiles)
{
    {
        PipeWriter pipe(gpx);
        const ImportFile file = readImportInput(pipe.path(), "");
        EXPECT_TRUE(file.ok()) << file.error;
        EXPECT_EQ(file.patches.size(), 1u);
    }
    {
        const std::string fifo = directory_ + "/fifo";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << withings; });
        const ImportFile file = readImportInput(fifo, "fifo");
        writer.join();
        EXPECT_EQ(file.patches.size(), 2u) << file.error;
    }
    {
        PipeWriter pipe(withings);
        const ScopedStandardInput input(pipe.fd());
        const ImportFile file = readImportInput("-", "");
        EXPECT_EQ(file.name, activitytext::standardInput);
        EXPECT_EQ(file.patches.size(), 2u) << file.error;
    }
    {
        std::string endless = gpx.substr(0, gpx.find("<trkpt"));
        endless.resize(maxImportBytes + 1, ' ');
        PipeWriter pipe(std::move(endless));
        const ScopedStandardInput input(pipe.fd());
        EXPECT_EQ(readImportInput("-", "").error, activitytext::streamTooLarge);
    }
    {
        std::ifstream zip(writeZip("w.zip", {{"weight.csv", withings}}), std::ios::binary);
        PipeWriter pipe(std::string(std::istreambuf_iterator<char>(zip), {}));
        EXPECT_EQ(readImportInput(pipe.path(), "").error, activitytext::zipNotNamed);
    }
}

TEST_F(ImportReader, theKnownFilesOfAZipAreRead)
{
    const std::string decoy = "<?xml version=\"1.0\"?><ClinicalDocument><value value=\"123.4\" "
                              "unit=\"kg\"/></ClinicalDocument>";
    const ImportFile health = readImportInput(
        writeZip("export.zip", {{"apple_health_export/export_cda.xml", decoy},
                                {"apple_health_export/export.xml", healthExport("56.9")}}),
        "export.zip");
    ASSERT_TRUE(health.ok()) << health.error;
    EXPECT_EQ(health.format, ActivityFormat::appleHealth);
    ASSERT_EQ(health.patches.size(), 1u);
    EXPECT_EQ(health.patches[0].weightKg, 56.9);

    // Fitbit's monthly files: the unit asked for once for them all; a known
    // name with other content inside is refused on its own.
    const std::string fitbitZip = writeZip(
        "fitbit.zip", {{"Takeout/Fitbit/Global Export Data/weight-2026-12-01.json", fitbit},
                       {"Takeout/Fitbit/Global Export Data/weight-2026-11-01.json",
                        "[{\"weight\":126.0,\"date\":\"11/08/26\",\"time\":\"06:55:12\"}]"},
                       {"Takeout/weight-2026-10-01.json", "not json"}});
    const ImportFile unnamed = readImportInput(fitbitZip, "");
    EXPECT_TRUE(unnamed.needsWeightUnit);
    EXPECT_TRUE(unnamed.patches.empty());
    ImportReadOptions pounds;
    pounds.fitbitUnit = WeightUnit::lb;
    const ImportFile named = readImportInput(fitbitZip, "", pounds);
    ASSERT_TRUE(named.ok()) << named.error;
    EXPECT_EQ(named.patches.size(), 2u);
    EXPECT_EQ(named.refusals, std::vector<std::string>{fillActivityText(
                                  activitytext::fileProblem, {"Takeout/weight-2026-10-01.json",
                                                              activitytext::notImportFile})});
}

} // namespace
