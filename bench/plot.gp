# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Time per call against entry count: routine, floor, getifaddrs.
set terminal pngcairo size 720,420 font ",10" noenhanced
set output output
set title "Time per call against IPv4 entries"
set xlabel "IPv4 entries"
set ylabel "microseconds per call"
set key top left
set grid
set xtics (1, 8, 25)
plot data using 1:2 with linespoints title "a: getEthernetDetails", \
     data using 1:3 with linespoints title "b: system-call floor", \
     data using 1:4 with linespoints title "c: getifaddrs + SIOCETHTOOL + if_nametoindex"
