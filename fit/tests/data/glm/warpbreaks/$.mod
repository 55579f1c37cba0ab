DATA: warpbreaks
P: 3
N: 54
FORMAT: free
MISSING-CODE: 99999
INTERCEPT: yes
'VARIABLE NAME' TYPE DF
breaks response 0
wool factor 1
tension factor 2
FAMILY: poisson
LINK: logarithm
THRESHOLDS: 1e-12 1e-12
'MAX ITERS:' 50 50
