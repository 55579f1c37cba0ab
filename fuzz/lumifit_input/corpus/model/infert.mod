DATA: d
P:             6
N:             -1
FORMAT:        free
MISSING-CODE:  99999
INTERCEPT:     yes
'VARIABLE NAME'   TYPE        DF
case              response    0
age               predictor   3
education         factor      2
parity            predictor   0
induced           predictor   1
spontaneous       predictor   1
FAMILY:        binomial
LINK:          logit
THRESHOLDS:    0.0001  0.001
'MAX ITERS:'   20  20
