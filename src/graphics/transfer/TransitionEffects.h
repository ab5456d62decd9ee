// The bodies of the transition effects, by family, with their effect numbers. Each draws one
// step between phase 1 and 255; Transition.cpp wraps them in the common frame and lists them
// in TransitionTable.
#pragma once

#include <pyro/graphics/transfer/Transition.h>

// Whole rows and columns (TransitionLines.cpp).
void MirrorColumns(const TransitionStep& t);        // 0, 1
void MirrorRows(const TransitionStep& t);           // 2
void BulgeRows(const TransitionStep& t);            // 3
void BulgeColumns(const TransitionStep& t);         // 4
void JitterRows(const TransitionStep& t);           // 5
void InterlaceRows(const TransitionStep& t);        // 17
void InterlaceColumns(const TransitionStep& t);     // 18
void InterlaceRowsTwice(const TransitionStep& t);   // 19
void InterlaceColumnsTwice(const TransitionStep& t);// 20
void CurtainDown(const TransitionStep& t);          // 22
void CurtainUp(const TransitionStep& t);            // 23
void Wave(const TransitionStep& t);                 // 24
void WaveInverted(const TransitionStep& t);         // 25
void ShortWave(const TransitionStep& t);            // 26
void ShortWaveInverted(const TransitionStep& t);    // 27

// Random tiles (TransitionDissolves.cpp).
void Scatter(const TransitionStep& t);              // 6
void Dissolve(const TransitionStep& t);             // 7
void DissolveFromTop(const TransitionStep& t);      // 8
void DissolveFromBottom(const TransitionStep& t);   // 9
void DissolveFromLeft(const TransitionStep& t);     // 10
void DissolveFromRight(const TransitionStep& t);    // 11
void NoisyCircle(const TransitionStep& t);          // 21

// Growing squares and discs (TransitionShapes.cpp).
void SquareCentre(const TransitionStep& t);         // 12
void SquareTopLeft(const TransitionStep& t);        // 13
void SquareTopRight(const TransitionStep& t);       // 14
void SquareBottomLeft(const TransitionStep& t);     // 15
void SquareBottomRight(const TransitionStep& t);    // 16
void HalfDiscTop(const TransitionStep& t);          // 28
void HalfDiscBottom(const TransitionStep& t);       // 29
void HalfDiscLeft(const TransitionStep& t);         // 30
void HalfDiscRight(const TransitionStep& t);        // 31
void Disc(const TransitionStep& t);                 // 32

// Regular patterns: grids, blinds, slants and spiral dithers (TransitionPatterns.cpp).
void GridSquares4(const TransitionStep& t);         // 33
void GridSquares8(const TransitionStep& t);         // 34
void GridSquares16(const TransitionStep& t);        // 35
void BlindColumns8(const TransitionStep& t);        // 36
void BlindColumns8Reversed(const TransitionStep& t);// 37
void BlindColumns16(const TransitionStep& t);       // 38
void BlindColumns16Reversed(const TransitionStep& t);// 39
void BlindRows8(const TransitionStep& t);           // 40
void BlindRows8Reversed(const TransitionStep& t);   // 41
void BlindRows16(const TransitionStep& t);          // 42
void BlindRows16Reversed(const TransitionStep& t);  // 43
void SlantedBlinds8(const TransitionStep& t);       // 44
void SlantedBlinds16(const TransitionStep& t);      // 45
void SpiralInward1(const TransitionStep& t);        // 46
void SpiralOutward1(const TransitionStep& t);       // 47
void SpiralInward2(const TransitionStep& t);        // 48
void SpiralOutward2(const TransitionStep& t);       // 49
void SpiralInward4(const TransitionStep& t);        // 50
void SpiralOutward4(const TransitionStep& t);       // 51
void SpiralInward8(const TransitionStep& t);        // 52
void SpiralOutward8(const TransitionStep& t);       // 53

// Whole-picture filters (TransitionFilters.cpp).
void CrossFade(const TransitionStep& t);            // 54
void MosaicFade(const TransitionStep& t);           // 69
void Negative(const TransitionStep& t);             // 70

// Moving tiles (TransitionTiles.cpp).
void TilesFlyIn(const TransitionStep& t);           // 55
void RadialFlight(const TransitionStep& t);         // 56
void RadialFlightFine(const TransitionStep& t);     // 57
void RadialFlightTurning(const TransitionStep& t);  // 58
void RadialFlightSwinging(const TransitionStep& t); // 59
void RadialFlightScaled(const TransitionStep& t);   // 60
void Whirl2(const TransitionStep& t);               // 61
void Whirl4(const TransitionStep& t);               // 62
void Whirl8(const TransitionStep& t);               // 63
void WhirlFlight(const TransitionStep& t);          // 64
void DroppingTiles8(const TransitionStep& t);       // 65
void DroppingTiles16(const TransitionStep& t);      // 66
void SettlingJitter(const TransitionStep& t);       // 67
void SettlingDrift(const TransitionStep& t);        // 68

// Staircase and smear wipes (TransitionWipes.cpp).
void StaircaseLeft16(const TransitionStep& t);      // 71
void StaircaseRight16(const TransitionStep& t);     // 72
void StaircaseLeft8(const TransitionStep& t);       // 73
void StaircaseRight8(const TransitionStep& t);      // 74
void StaircaseTop16(const TransitionStep& t);       // 75
void StaircaseBottom16(const TransitionStep& t);    // 76
void StaircaseTop8(const TransitionStep& t);        // 77
void StaircaseBottom8(const TransitionStep& t);     // 78
void SmearFromRight(const TransitionStep& t);       // 79
void SmearFromLeft(const TransitionStep& t);        // 80
void SmearFromBottom(const TransitionStep& t);      // 81
void SmearFromTop(const TransitionStep& t);         // 82
