# Time per element against image size: the kernels with their bound and the
# plain version (left), the Octave calls (MEX and native) with each build's
# floor and the vectorised scripts (right). Run with: gnuplot -e "dir='...'" plot_figures.gp
set terminal pngcairo size 1400,620 font ",10" noenhanced
set output dir."/time-per-element.png"
set multiplot layout 1,2 title "Time per element against image size (medians, one run)"
set logscale xy
set xlabel "elements"
set ylabel "ns per element"
set xtics ("512^2" 262144, "2048^2" 4194304, "4096^2" 16777216)
set grid
set key top left opaque box maxrows 4 width -2
set xrange [180000:24000000]
set title "Kernels (Google Benchmark, random image)"
set yrange [0.5:400]
plot dir."/kernels.dat" using 1:2 with linespoints lw 3 dt 2 lc rgb "black" title "bound, warm", \
     "" using 1:3 with linespoints lw 2 lc rgb "#1f77b4" title "Vesk kernel, warm", \
     "" using 1:4 with linespoints lw 2 lc rgb "#ff7f0e" title "Vesk2 kernel, warm", \
     "" using 1:5 with linespoints lw 1 dt 3 lc rgb "#1f77b4" title "Vesk plain, warm", \
     "" using 1:6 with linespoints lw 1 dt 3 lc rgb "#ff7f0e" title "Vesk2 plain, warm", \
     "" using 1:7 with linespoints lw 3 dt 2 lc rgb "gray" title "bound, cold", \
     "" using 1:8 with linespoints lw 2 lc rgb "#2ca02c" title "Vesk kernel, cold", \
     "" using 1:9 with linespoints lw 2 lc rgb "#d62728" title "Vesk2 kernel, cold"
set title "GNU Octave calls (random image)"
set yrange [1:4000]
set key maxrows 4 width 0
plot dir."/octave.dat" using 1:4 with linespoints lw 3 dt 2 lc rgb "black" title "MEX floor", \
     "" using 1:2 with linespoints lw 2 lc rgb "#1f77b4" title "Vesk (MEX)", \
     "" using 1:3 with linespoints lw 2 lc rgb "#ff7f0e" title "Vesk2 (MEX)", \
     "" using 1:9 with linespoints lw 3 dt 2 lc rgb "gray" title "native floor", \
     "" using 1:7 with linespoints lw 2 lc rgb "#2ca02c" title "Vesk (native)", \
     "" using 1:8 with linespoints lw 2 lc rgb "#d62728" title "Vesk2 (native)", \
     "" using 1:5 with linespoints lw 1 dt 3 lc rgb "#1f77b4" title "vesk_vectorised.m", \
     "" using 1:6 with linespoints lw 1 dt 3 lc rgb "#ff7f0e" title "vesk2_vectorised.m"
unset multiplot
