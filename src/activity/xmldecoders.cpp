// The two XML formats, read with Qt Core's streaming reader: one pass, no
// tree, so that a ten-hour track at one point a second stays cheap.

#include "activity/activity.h"
#include "activity/activitytexts.h"
#include "activity/plausibility.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

std::string lineOf(const QXmlStreamReader &xml)
{
    return std::to_string(xml.lineNumber());
}

std::string xmlError(const QXmlStreamReader &xml)
{
    return fillActivityText(activitytext::xmlDamaged,
                            {std::to_string(xml.lineNumber()), std::to_string(xml.columnNumber())});
}

// Elements whose place in the tree matters; everything else is `other`.
enum class Tag { other, trk, trkseg, trkpt, activity, lap };

std::string limitText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// "1000 km ", "48 時間": a space before a Latin unit and after it.
std::string limitWithUnit(const PlausibleRange &range)
{
    const bool latin = static_cast<unsigned char>(range.unit[0]) < 0x80;
    return limitText(range.highest) + " " + range.unit + (latin ? " " : "");
}

std::optional<double> finiteNumber(QStringView text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

class GpxReader {
  public:
    explicit GpxReader(std::string_view bytes)
        : xml_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())))
    {
    }

    ActivityFile read()
    {
        ActivityFile file;
        file.format = ActivityFormat::gpx;
        std::vector<Tag> open;
        bool havePrevious = false;
        double previousLat = 0;
        double previousLon = 0;
        bool sportNamed = false;
        std::optional<double> firstTime;
        std::optional<double> lastTime;
        double metres = 0;
        std::string sport;

        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::EndElement) {
                if (!open.empty())
                    open.pop_back();
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QStringView name = xml_.name();
            const Tag parent = open.empty() ? Tag::other : open.back();
            Tag tag = Tag::other;
            if (name == "trk"_L1) {
                tag = Tag::trk;
            } else if (name == "trkseg"_L1 && parent == Tag::trk) {
                tag = Tag::trkseg;
                havePrevious = false; // no distance across the gap between segments
            } else if (name == "trkpt"_L1 && parent == Tag::trkseg) {
                tag = Tag::trkpt;
                const QXmlStreamAttributes attributes = xml_.attributes();
                const auto lat = finiteNumber(attributes.value("lat"_L1));
                const auto lon = finiteNumber(attributes.value("lon"_L1));
                if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180) {
                    file.error = fillActivityText(activitytext::badPosition, {lineOf(xml_)});
                    return file;
                }
                if (havePrevious)
                    metres += haversineMetres(previousLat, previousLon, *lat, *lon);
                previousLat = *lat;
                previousLon = *lon;
                havePrevious = true;
            } else if (name == "time"_L1 && parent == Tag::trkpt) {
                const std::string line = lineOf(xml_);
                const QString text = xml_.readElementText();
                if (xml_.hasError())
                    break;
                const std::optional<double> time = parseIsoDateTime(text.toStdString());
                if (!time) {
                    file.error =
                        fillActivityText(activitytext::badTime, {line, text.toStdString()});
                    return file;
                }
                if (!firstTime)
                    firstTime = time;
                ++timedPoints_;
                lastTime = time;
                continue; // readElementText consumed the end element
            } else if (name == "type"_L1 && parent == Tag::trk && !sportNamed) {
                sportNamed = true;
                sport = xml_.readElementText().trimmed().toStdString();
                if (xml_.hasError())
                    break;
                continue;
            }
            open.push_back(tag);
        }
        if (xml_.hasError()) {
            file.error = xmlError(xml_);
            return file;
        }
        if (timedPoints_ < 2) {
            file.error = activitytext::tooFewTimedPoints;
            return file;
        }
        if (*lastTime < *firstTime) {
            file.error = activitytext::timeBackwards;
            return file;
        }
        Activity activity;
        activity.startSeconds = *firstTime;
        activity.distanceMetres = metres;
        activity.durationSeconds = *lastTime - *firstTime;
        activity.sport = sport;
        activity.field = fieldForGpxType(sport);
        file.activities.push_back(std::move(activity));
        return file;
    }

  private:
    QXmlStreamReader xml_;
    int timedPoints_ = 0;
};

class TcxReader {
  public:
    explicit TcxReader(std::string_view bytes)
        : xml_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())))
    {
    }

    ActivityFile read()
    {
        ActivityFile file;
        file.format = ActivityFormat::tcx;
        std::vector<Tag> open;
        Activity current;
        std::optional<double> idTime;
        std::optional<double> firstLapTime;
        std::string activityLine;
        std::string lapRefusal; // why the current activity is left out
        int laps = 0;

        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::EndElement) {
                if (open.empty())
                    continue;
                if (open.back() == Tag::activity && laps > 0) {
                    const std::optional<double> start = idTime ? idTime : firstLapTime;
                    if (!start) {
                        file.error = fillActivityText(activitytext::noStartTime, {activityLine});
                        return file;
                    }
                    current.startSeconds = *start;
                    if (lapRefusal.empty())
                        file.activities.push_back(current);
                    else
                        file.refusals.push_back(lapRefusal);
                }
                open.pop_back();
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QStringView name = xml_.name();
            const Tag parent = open.empty() ? Tag::other : open.back();
            Tag tag = Tag::other;
            if (name == "Activity"_L1) {
                tag = Tag::activity;
                current = Activity{};
                current.sport =
                    xml_.attributes().value("Sport"_L1).trimmed().toString().toStdString();
                current.field = fieldForTcxSport(current.sport);
                idTime.reset();
                firstLapTime.reset();
                activityLine = lineOf(xml_);
                laps = 0;
                lapRefusal.clear();
            } else if (name == "Id"_L1 && parent == Tag::activity) {
                const std::string line = lineOf(xml_);
                const QString text = xml_.readElementText();
                if (xml_.hasError())
                    break;
                idTime = parseIsoDateTime(text.toStdString());
                if (!idTime) {
                    file.error =
                        fillActivityText(activitytext::badTime, {line, text.toStdString()});
                    return file;
                }
                continue;
            } else if (name == "Lap"_L1 && parent == Tag::activity) {
                tag = Tag::lap;
                if (laps++ == 0) {
                    const QStringView start = xml_.attributes().value("StartTime"_L1);
                    if (!start.isEmpty())
                        firstLapTime = parseIsoDateTime(start.toString().toStdString());
                }
            } else if ((name == "TotalTimeSeconds"_L1 || name == "DistanceMeters"_L1) &&
                       parent == Tag::lap) {
                const bool isTime = name == "TotalTimeSeconds"_L1;
                const std::string element = name.toString().toStdString();
                const std::string line = lineOf(xml_);
                const QString text = xml_.readElementText();
                if (xml_.hasError())
                    break;
                const std::optional<double> value = finiteNumber(text);
                if (!value || *value < 0) {
                    file.error = fillActivityText(activitytext::badNumber,
                                                  {line, element, text.trimmed().toStdString()});
                    return file;
                }
                // A lap past what a whole activity may hold is named as the
                // file writes it: the activity's sum would show a value the
                // file does not hold (or no number at all).
                const Quantity quantity = isTime ? Quantity::duration : Quantity::distance;
                if (lapRefusal.empty() && implausibility(quantity, *value)) {
                    const PlausibleRange &range = plausibleRange(quantity);
                    lapRefusal = fillActivityText(activitytext::implausibleLap,
                                                  {line, element, text.trimmed().toStdString(),
                                                   range.name, limitWithUnit(range)});
                }
                (isTime ? current.durationSeconds : current.distanceMetres) += *value;
                continue;
            }
            open.push_back(tag);
        }
        if (xml_.hasError()) {
            file.error = xmlError(xml_);
            return file;
        }
        if (file.empty())
            file.error = activitytext::noActivity;
        return file;
    }

  private:
    QXmlStreamReader xml_;
};

} // namespace

ActivityFile decodeGpx(std::string_view bytes)
{
    if (std::optional<ActivityFile> quick = decodeSimpleGpx(bytes))
        return std::move(*quick);
    return decodeGpxFully(bytes);
}

ActivityFile decodeGpxFully(std::string_view bytes)
{
    return GpxReader(bytes).read();
}

ActivityFile decodeTcx(std::string_view bytes)
{
    ActivityFile file = TcxReader(bytes).read();
    // Nothing is taken from a damaged file, not even the activities before
    // the damage.
    if (!file.ok()) {
        file.activities.clear();
        file.refusals.clear();
    }
    return file;
}
