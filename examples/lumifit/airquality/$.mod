DATA:          airquality
P:             5
N:             153
FORMAT:        free
MISSING-CODE:  99999
INTERCEPT:     yes
'VARIABLE NAME'   TYPE        DF
ozone             response    0
solar             predictor   3
wind              predictor   3
temp              predictor   3
month             factor      4
FAMILY:        gamma
LINK:          logarithm
THRESHOLDS:    0.0001  0.001
'MAX ITERS:'   20  20
