// gaussian_steps.hpp: the twelve lattice steps of Euclidean length at most 2,
// in the order in which gaussian_walk_12 and gaussian_graph_12 try them. Step
// k moves a + bi to (a + step_dx[k]) + (b + step_dy[k])i.
#pragma once

const int step_dx[] = {2, 1, 0, -1, -2, -1, 0, 1, 1, 0, -1, 0};
const int step_dy[] = {0, 1, 2, 1, 0, -1, -2, -1, 0, 1, 0, -1};
