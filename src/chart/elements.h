#pragma once
// The five elements, their cycles, the branch elements and polarity texts, the six clashes.
#include <QChar>
#include <QString>

namespace chart {

// Element operations on element characters (金 木 水 火 土); a blank for any other character.
QChar generatedElement(QChar element);    // the element it generates
QChar generatingElement(QChar element);   // the element that generates it
QChar controlledElement(QChar element);   // the element it controls
QChar controllingElement(QChar element);  // the element that controls it
bool isElement(QChar c);

// Element of a branch character, blank for any other character.
QChar branchElement(QChar branch);
// "阳水" .. "阴水" for a branch character; empty otherwise.
QString branchPolarityText(QChar branch);
// The clashing branch of a branch character (子午 丑未 寅申 卯酉 辰戌 巳亥); null otherwise.
QChar clashPartner(QChar branch);
// The season qi (得气): the month branch is the earth branch that closes the line branch's
// season (亥子 with 丑, 寅卯 with 辰, 巳午 with 未, 申酉 with 戌).
bool gainsSeasonQi(QChar branch, QChar monthBranch);

// Relative of a line of element e against palace element p; "错误" when either is no element.
QString relativeOf(QChar lineElement, QChar palaceElement);

// Branch character of a branch index 0..11 and back (-1 for none).
QChar branchChar(int index);
QChar stemChar(int index);
int branchIndex(QChar c);
int stemIndex(QChar c);

}  // namespace chart
