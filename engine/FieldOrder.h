#pragma once

// The order in which the two fields of an interlaced picture were taken.
enum class EFieldOrder {
    eProgressive, // whole pictures
    eTopFirst,
    eBottomFirst,
};
