#pragma once
// The kinds of scene (a scene's sceneId) that the game screen tells apart when
// it carries out a scene request.

constexpr int kSceneKindDialog = 3;
constexpr int kSceneKindOptions = 7;
constexpr int kSceneKindRecords = 8;
constexpr int kSceneKindAbout = 9;
constexpr int kSceneKindPlay = 13;
