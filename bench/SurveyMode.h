#pragma once
// Survey mode of the benchmark: how long the subfolder survey and the
// opening of the selection window take on a top folder with many subfolders.
//
//   quillan-bench survey [--subfolders N] [--top FOLDER] [--repeat R]
//
// Without --top a temporary top folder with N subfolders (default 1,500),
// each holding one page, is built and removed afterwards.

int RunSurveyBenchmark(int argc, char **argv);
