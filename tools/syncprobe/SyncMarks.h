#pragma once

#include <optional>
#include <string>
#include <vector>

// The sync marks of a recording made with the built-in sources' marks on:
// when each white picture is shown and when each 1 kHz burst begins, in
// seconds of the file's presentation time. A burst cut short by a pause or
// the end is kept apart, by where its sound begins: its flash has no partner.
// The flashes lie on the pictures nearest whole seconds, so they stray from
// evenly spaced by up to the spread (none at a whole number of pictures a
// second).
struct CSyncMarks
{
    std::vector<double> flashSeconds;
    std::vector<double> burstSeconds;
    std::vector<double> cutBurstSeconds;
    double dFlashSpreadSeconds = 0;
};

// How far the audio lies behind the picture at one flash (negative: ahead).
struct CSyncOffset
{
    double dVideoSeconds = 0;
    double dOffsetSeconds = 0;
};

// Decodes the file's first video and audio streams to find the marks;
// nothing, with FFmpeg's cause in strError, when the file cannot be read.
std::optional<CSyncMarks> FindSyncMarks(const std::string& strFile, std::string& strError);

// Pairs each flash with the burst of the same mark, however far the audio
// has drifted. The offset moves steadily, so each burst is looked for where
// the offsets so far put it; a flash without a whole burst near there (cut
// by a pause or the end) is left out.
std::vector<CSyncOffset> PairSyncMarks(const CSyncMarks& marks);
