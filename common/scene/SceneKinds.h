#pragma once
// The kinds of scene (a scene's sceneId): the ones the game screen tells apart
// when it carries out a scene request, and the one the base scene tests.

constexpr int kSceneKindDialog = 3;
constexpr int kSceneKindOptions = 7;
constexpr int kSceneKindRecords = 8;
constexpr int kSceneKindAbout = 9;
// Escape does not unpause a scene of this kind.
constexpr int kSceneIdNoUnpauseOnEscape = 11;
constexpr int kSceneKindPlay = 13;
