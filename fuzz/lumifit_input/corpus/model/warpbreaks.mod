DATA: r
P:             3
N:             54
FORMAT:        '(F4.0, 2I2)'
MISSING-CODE:  99999
INTERCEPT:     yes
'VARIABLE NAME'   TYPE        DF
breaks            response    0
wool              factor      1
tension           factor      2
FAMILY:        poisson
LINK:          logarithm
THRESHOLDS:    0.0001  0.001
'MAX ITERS:'   20  20
